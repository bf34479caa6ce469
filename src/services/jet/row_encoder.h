// Turns one value per column into the bytes of a row (Jet 4 layout), the reverse of
// DecodeRow:
//
//   u16 column count | fixed area | variable data | [padding] | u16 end of data |
//   u16 var offsets, last first | u16 var count | null mask (1 = not null)
#pragma once

#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/table_definition.h"
#include "services/jet/values.h"

namespace lumora::jet {

// `values` in the order of `table.columns`. The row is at least `minimum_size` bytes long, the
// padding placed before the trailer (an update in place keeps the old length). Empty when a
// value does not suit its column (wrong kind, text too long, Memo or OLE data, which this
// engine does not write) or the row is too big for a page.
std::optional<Bytes> EncodeRow(const TableDefinition& table, const std::vector<Value>& values,
                               std::size_t minimum_size = 0);

// The stored form of a text value: compressed when the column allows it and that is shorter,
// otherwise UTF-16LE. Empty when the text cannot be stored unambiguously.
std::optional<Bytes> EncodeJetText(std::u16string_view text, bool compression_allowed);

}  // namespace lumora::jet
