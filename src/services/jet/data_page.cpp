#include "services/jet/data_page.h"

namespace lumora::jet {

std::size_t RowCount(ByteView page) {
  const std::size_t count = U16(page, kDataPageRowCountOffset);
  if (!Fits(page, kDataPageSlotsOffset, count * 2)) {
    return 0;
  }
  return count;
}

std::optional<RowSlot> ReadRowSlot(ByteView page, std::size_t row) {
  const std::size_t count = RowCount(page);
  if (row >= count) {
    return std::nullopt;
  }
  const std::uint16_t raw = U16(page, kDataPageSlotsOffset + row * 2);
  RowSlot slot;
  slot.start = raw & kRowOffsetMask;
  slot.deleted = (raw & kRowDeleted) != 0;
  slot.overflow = (raw & kRowOverflow) != 0;
  slot.end =
      row == 0 ? page.size() : (U16(page, kDataPageSlotsOffset + (row - 1) * 2) & kRowOffsetMask);
  const std::size_t table_end = kDataPageSlotsOffset + count * 2;
  if (slot.start < table_end || slot.start > slot.end || slot.end > page.size()) {
    return std::nullopt;
  }
  return slot;
}

}  // namespace lumora::jet
