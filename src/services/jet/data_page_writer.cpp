#include "services/jet/data_page_writer.h"

#include <algorithm>

#include "services/jet/byte_writer.h"
#include "services/jet/data_page.h"

namespace lumora::jet {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;

}  // namespace

Bytes NewDataPage(std::uint32_t owner, std::uint32_t page_size) {
  Bytes page(page_size, 0);
  page[0] = 0x01;
  page[1] = 0x01;
  PutU16(page, kFreeSpaceOffset, page_size - kDataPageSlotsOffset);
  PutU32(page, kDataPageOwnerOffset, owner);
  return page;
}

bool RowFits(ByteView page, std::size_t size) {
  const std::size_t count = RowCount(page);
  if (count >= kMaxRowsPerPage || U16(page, kDataPageRowCountOffset) != count) {
    return false;
  }
  const std::size_t end =
      count == 0 ? page.size()
                 : (U16(page, kDataPageSlotsOffset + (count - 1) * 2) & kRowOffsetMask);
  const std::size_t table_end = kDataPageSlotsOffset + (count + 1) * 2;
  return end <= page.size() && end >= table_end && end - table_end >= size &&
         U16(page, kFreeSpaceOffset) >= size + 2;
}

std::optional<std::uint8_t> AddRow(Bytes& page, ByteView row, std::uint16_t flags) {
  if (!RowFits(page, row.size())) {
    return std::nullopt;
  }
  const std::size_t count = RowCount(page);
  const std::size_t end =
      count == 0 ? page.size()
                 : (U16(page, kDataPageSlotsOffset + (count - 1) * 2) & kRowOffsetMask);
  const std::size_t start = end - row.size();
  std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(start));
  PutU16(page, kDataPageSlotsOffset + count * 2, static_cast<std::uint32_t>(start) | flags);
  PutU16(page, kDataPageRowCountOffset, static_cast<std::uint32_t>(count + 1));
  PutU16(page, kFreeSpaceOffset,
         static_cast<std::uint32_t>(U16(page, kFreeSpaceOffset) - row.size() - 2));
  return static_cast<std::uint8_t>(count);
}

void AddSlotFlags(Bytes& page, std::size_t row, std::uint16_t flags) {
  const std::size_t at = kDataPageSlotsOffset + row * 2;
  PutU16(page, at, U16(page, at) | flags);
}

}  // namespace lumora::jet
