// The row-offset table of a data page (Jet 4 layout): where each row lies and how it is
// flagged.
#pragma once

#include <cstdint>
#include <optional>

#include "services/jet/byte_view.h"

namespace lumora::jet {

inline constexpr std::size_t kDataPageRowCountOffset = 12;
inline constexpr std::size_t kDataPageSlotsOffset = 14;
inline constexpr std::size_t kDataPageOwnerOffset = 4;

inline constexpr std::uint16_t kRowDeleted = 0x8000;
inline constexpr std::uint16_t kRowOverflow = 0x4000;
inline constexpr std::uint16_t kRowOffsetMask = 0x1FFF;

struct RowSlot {
  std::size_t start = 0;
  std::size_t end = 0;
  bool deleted = false;
  // The row holds only a pointer to where its data now lives.
  bool overflow = false;
};

// Number of slots on the page, deleted ones included; 0 when the count cannot be right.
std::size_t RowCount(ByteView page);

// Slot `row` of the page; empty when it is outside the slot table or its bounds make no sense.
std::optional<RowSlot> ReadRowSlot(ByteView page, std::size_t row);

// Where an overflow row points: row number and page.
struct RowPointer {
  std::uint32_t page = 0;
  std::uint8_t row = 0;
};

// Reads the common pointer form: one row byte and a 3-byte page number.
inline RowPointer ReadRowPointer(ByteView bytes, std::size_t offset) {
  return RowPointer{U24(bytes, offset + 1), U8(bytes, offset)};
}

}  // namespace lumora::jet
