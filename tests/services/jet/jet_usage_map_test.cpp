// Usage maps on pages built by hand: inline bitmaps and reference maps with bitmap pages.
#include "services/jet/usage_map.h"

#include <gtest/gtest.h>

namespace lumora::jet {
namespace {

constexpr std::size_t kPage = 4096;

void Put16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  Put16(bytes, offset, static_cast<std::uint16_t>(value));
  Put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// A file of `pages` pages whose page 1 is a data page holding `map_row` as its only row.
Bytes FileWithMapRow(std::size_t pages, const Bytes& map_row) {
  Bytes file(pages * kPage, 0);
  const std::size_t page = kPage;
  file[page] = 0x01;
  file[page + 1] = 0x01;
  Put16(file, page + 12, 1);
  const std::size_t start = kPage - map_row.size();
  Put16(file, page + 14, static_cast<std::uint16_t>(start));
  std::copy(map_row.begin(), map_row.end(), file.begin() + page + start);
  return file;
}

Pager PagerOver(Bytes file) {
  return Pager(std::shared_ptr<const PageSource>(MemorySource(std::move(file))), kPage, 0);
}

TEST(JetUsageMap, InlineMapListsSetBitsFromItsStartPage) {
  Bytes row(69, 0);
  Put32(row, 1, 8);     // the window starts at page 8
  row[5] = 0b00000101;  // pages 8 and 10
  row[6] = 0b10000000;  // page 23
  row[7] = 0xFF;        // pages 24..31, beyond the 30-page file from 30 on
  const Pager pager = PagerOver(FileWithMapRow(30, row));
  EXPECT_EQ(UsageMapPages(pager, RowPointer{1, 0}),
            (std::vector<std::uint32_t>{8, 10, 23, 24, 25, 26, 27, 28, 29}));
  // Not a data page, or a row that does not exist.
  EXPECT_TRUE(UsageMapPages(pager, RowPointer{2, 0}).empty());
  EXPECT_TRUE(UsageMapPages(pager, RowPointer{1, 1}).empty());
  EXPECT_TRUE(UsageMapPages(pager, RowPointer{99, 0}).empty());
}

TEST(JetUsageMap, ReferenceMapReadsItsBitmapPages) {
  Bytes row(69, 0);
  row[0] = 0x01;
  Put32(row, 1, 3);  // bitmap for pages 0..32735 on page 3
  Put32(row, 5, 4);  // bitmap for the next window on page 4 (not a bitmap page)
  Bytes file = FileWithMapRow(40, row);
  file[3 * kPage] = 0x05;
  file[3 * kPage + 1] = 0x01;
  file[3 * kPage + 4] = 0b01000010;      // pages 1 and 6
  file[3 * kPage + 4 + 4] = 0b00000001;  // page 32
  file[3 * kPage + 4 + 4091] = 0xFF;     // pages far beyond the file
  const Pager pager = PagerOver(file);
  EXPECT_EQ(UsageMapPages(pager, RowPointer{1, 0}), (std::vector<std::uint32_t>{1, 6, 32}));
}

TEST(JetUsageMap, UnknownMapTypeIsEmpty) {
  Bytes row(69, 0xFF);
  row[0] = 0x07;
  const Pager pager = PagerOver(FileWithMapRow(4, row));
  EXPECT_TRUE(UsageMapPages(pager, RowPointer{1, 0}).empty());
}

}  // namespace
}  // namespace lumora::jet
