#include "services/jet/usage_map.h"

#include <algorithm>

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

Text UsageMapFault(const Pager& pager, RowPointer map) {
  const Text where = "usage map " + std::to_string(map.page) + ":" + std::to_string(map.row);
  Bytes page;
  const std::optional<RowSlot> slot =
      pager.ReadPage(map.page, PageType::kData, page) ? ReadRowSlot(page, map.row) : std::nullopt;
  if (!slot) {
    return where + " cannot be read";
  }
  const ByteView row = ByteView(page).subspan(slot->start, slot->end - slot->start);
  // The last page a set bit names, counting from the map's first page.
  std::uint64_t last = 0;
  bool any = false;
  const auto note_bits = [&](ByteView bitmap, std::uint64_t first_page) {
    for (std::size_t byte = bitmap.size(); byte-- > 0;) {
      if (bitmap[byte] != 0) {
        unsigned bit = 7;
        while (((bitmap[byte] >> bit) & 1) == 0) {
          --bit;
        }
        last = std::max(last, first_page + byte * 8 + bit);
        any = true;
        return;
      }
    }
  };
  if (!row.empty() && row[0] == kInlineMap) {
    note_bits(Slice(row, 5, row.size() > 5 ? row.size() - 5 : 0),
              row.size() >= 5 ? U32(row, 1) : 0);
  } else if (!row.empty() && row[0] == kReferenceMap) {
    const std::uint64_t pages_per_map = (pager.PageSize() - kBitmapPageHeader) * 8ull;
    Bytes bitmap_page;
    for (std::size_t index = 0; 1 + index * 4 + 4 <= row.size(); ++index) {
      const std::uint32_t map_page = U32(row, 1 + index * 4);
      if (map_page == 0) {
        continue;
      }
      if (!pager.ReadPage(map_page, PageType::kUsageMap, bitmap_page)) {
        return where + ": its bitmap page " + std::to_string(map_page) +
               (map_page >= pager.PageCount() ? " lies past the end of the file"
                                              : " is no usage map page");
      }
      note_bits(ByteView(bitmap_page).subspan(kBitmapPageHeader), index * pages_per_map);
    }
  } else {
    return where + " is of no known kind";
  }
  if (any && last >= pager.PageCount()) {
    return where + " lists page " + std::to_string(last) + ", past the end of the file";
  }
  return {};
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
