#include "services/jet/usage_map.h"

namespace lumora::jet {
namespace {

constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kReferenceMap = 0x01;
constexpr std::size_t kBitmapPageHeader = 4;

void AddSetBits(ByteView bitmap, std::uint64_t first_page, std::uint32_t page_count,
                std::vector<std::uint32_t>& pages) {
  for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
    if (bitmap[byte] == 0) {
      continue;
    }
    for (unsigned bit = 0; bit < 8; ++bit) {
      if ((bitmap[byte] >> bit) & 1) {
        const std::uint64_t page = first_page + byte * 8 + bit;
        if (page < page_count) {
          pages.push_back(static_cast<std::uint32_t>(page));
        }
      }
    }
  }
}

}  // namespace

std::vector<std::uint32_t> UsageMapPages(const Pager& pager, ByteView map_row) {
  std::vector<std::uint32_t> pages;
  if (map_row.empty()) {
    return pages;
  }
  if (map_row[0] == kInlineMap) {
    AddSetBits(Slice(map_row, 5, map_row.size() > 5 ? map_row.size() - 5 : 0), U32(map_row, 1),
               pager.PageCount(), pages);
    return pages;
  }
  if (map_row[0] != kReferenceMap) {
    return pages;
  }
  const std::uint64_t pages_per_map = (pager.PageSize() - kBitmapPageHeader) * 8ull;
  Bytes bitmap_page;
  for (std::size_t index = 0; 1 + index * 4 + 4 <= map_row.size(); ++index) {
    const std::uint32_t map_page = U32(map_row, 1 + index * 4);
    if (map_page == 0 || !pager.ReadPage(map_page, PageType::kUsageMap, bitmap_page)) {
      continue;
    }
    const ByteView bits = ByteView(bitmap_page).subspan(kBitmapPageHeader);
    AddSetBits(bits, index * pages_per_map, pager.PageCount(), pages);
  }
  return pages;
}

std::vector<std::uint32_t> UsageMapPages(const Pager& pager, RowPointer map) {
  Bytes page;
  if (!pager.ReadPage(map.page, PageType::kData, page)) {
    return {};
  }
  const std::optional<RowSlot> slot = ReadRowSlot(page, map.row);
  if (!slot) {
    return {};
  }
  return UsageMapPages(pager, ByteView(page).subspan(slot->start, slot->end - slot->start));
}

}  // namespace lumora::jet
