// Building and changing data pages (Jet 4 layout): a new page, a row added at the bottom of the
// free area, slot flags.
#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "services/jet/byte_view.h"

namespace lumora::jet {

inline constexpr std::size_t kMaxRowsPerPage = 255;
inline constexpr std::size_t kMaxRowSize = 4060;

// An empty data page owned by the table whose definition is on `owner`.
Bytes NewDataPage(std::uint32_t owner, std::uint32_t page_size);

// True when a row of `size` bytes can be added to the page.
bool RowFits(ByteView page, std::size_t size);

// Adds `row` with the slot flags `flags`; its row number, or empty when it does not fit.
std::optional<std::uint8_t> AddRow(Bytes& page, ByteView row, std::uint16_t flags = 0);

// ORs `flags` into the slot of `row` (which must exist).
void AddSlotFlags(Bytes& page, std::size_t row, std::uint16_t flags);

}  // namespace lumora::jet
