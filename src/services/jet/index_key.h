// Index keys as the B-tree stores them: per column a flag byte (0x7F ascending, 0x00 Null)
// and the value in an order that sorts bytewise.
#pragma once

#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/table_definition.h"
#include "services/jet/values.h"

namespace lumora::jet {

// Whether this engine can encode keys of `index` at all: ascending columns of kinds it knows,
// text only in the General sort order.
bool IndexKeysSupported(const TableDefinition& table, const RealIndex& index);

// The key of a row (`values` in the order of `table.columns`); empty when a value cannot be
// encoded, for instance a text character outside the known part of the sort table.
std::optional<Bytes> EncodeIndexKey(const TableDefinition& table, const RealIndex& index,
                                    const std::vector<Value>& values);

}  // namespace lumora::jet
