// Turns the bytes of one row (Jet 4 layout) into values, one per column of the table.
//
//   u16 column count | fixed area | variable data | u16 end of data |
//   u16 var offsets, last first | u16 var count | null mask (1 = not null)
#pragma once

#include <optional>
#include <vector>

#include "services/jet/pager.h"
#include "services/jet/table_definition.h"
#include "services/jet/values.h"

namespace lumora::jet {

// Values in the order of `table.columns`; empty when the row's own layout is inconsistent.
// A single damaged field reads as Null rather than losing the row. `pager` serves Memo and OLE
// data kept outside the row.
std::optional<std::vector<Value>> DecodeRow(const Pager& pager, const TableDefinition& table,
                                            ByteView row);

// Decodes the bytes of one non-null field of `column`.
Value DecodeField(const Pager& pager, const Column& column, ByteView data);

}  // namespace lumora::jet
