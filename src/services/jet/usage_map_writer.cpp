#include "services/jet/usage_map_writer.h"

#include <algorithm>
#include <vector>

#include "services/jet/byte_writer.h"
#include "services/jet/failure.h"
#include "services/jet/usage_map.h"

namespace lumora::jet {
namespace {

constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kReferenceMap = 0x01;
constexpr std::size_t kInlineHeader = 5;
constexpr std::size_t kBitmapPageHeader = 4;

bool SetBit(std::span<std::uint8_t> bitmap, std::uint64_t bit, bool value) {
  if (bit / 8 >= bitmap.size()) {
    return false;
  }
  const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
  bitmap[bit / 8] = value ? (bitmap[bit / 8] | mask) : (bitmap[bit / 8] & ~mask);
  return true;
}

// Moves an inline window so that it covers `page` as well as every page already listed.
bool MoveWindow(std::span<std::uint8_t> row, std::uint32_t page) {
  const std::span<std::uint8_t> bitmap = row.subspan(kInlineHeader);
  const std::uint64_t start = U32(row, 1);
  std::vector<std::uint64_t> listed;
  for (std::size_t bit = 0; bit < bitmap.size() * 8; ++bit) {
    if ((bitmap[bit / 8] >> (bit % 8)) & 1) {
      listed.push_back(start + bit);
    }
  }
  std::uint64_t low = page;
  std::uint64_t high = page;
  for (std::uint64_t listed_page : listed) {
    low = std::min(low, listed_page);
    high = std::max(high, listed_page);
  }
  low -= low % 8;
  if (high - low >= bitmap.size() * 8) {
    return false;
  }
  std::fill(bitmap.begin(), bitmap.end(), 0);
  PutU32(row, 1, static_cast<std::uint32_t>(low));
  for (std::uint64_t listed_page : listed) {
    SetBit(bitmap, listed_page - low, true);
  }
  return true;
}

// Turns the inline map row `map` into a reference map listing the same pages and `page`: one
// bitmap page per stretch of pages it lists, appended at the end of the file and marked used
// in the global map before the row names them.
bool PromoteToReference(Pager& pager, RowPointer map, std::span<const std::uint8_t> inline_row,
                        std::uint32_t page) {
  constexpr std::size_t kReferencePointers = 17;
  JET_REFUSE_IF(inline_row.size() < 1 + kReferencePointers * 4,
                "a usage map row is too short to become a reference map");
  const std::uint64_t per_page = (pager.PageSize() - kBitmapPageHeader) * 8ull;
  std::vector<std::uint64_t> listed{page};
  const std::uint64_t start = U32(inline_row, 1);
  const std::span<const std::uint8_t> bitmap = inline_row.subspan(kInlineHeader);
  for (std::size_t bit = 0; bit < bitmap.size() * 8; ++bit) {
    if ((bitmap[bit / 8] >> (bit % 8)) & 1) {
      listed.push_back(start + bit);
    }
  }
  std::vector<Bytes> bitmaps(kReferencePointers);
  for (const std::uint64_t listed_page : listed) {
    const std::uint64_t index = listed_page / per_page;
    JET_REFUSE_IF(index >= kReferencePointers, "a page lies beyond what a reference map lists");
    Bytes& map_bitmap = bitmaps[index];
    if (map_bitmap.empty()) {
      map_bitmap.assign(pager.PageSize(), 0);
      map_bitmap[0] = static_cast<std::uint8_t>(PageType::kUsageMap);
      map_bitmap[1] = 0x01;
    }
    SetBit(std::span(map_bitmap).subspan(kBitmapPageHeader), listed_page % per_page, true);
  }
  std::vector<std::uint32_t> numbers(kReferencePointers, 0);
  for (std::size_t index = 0; index < kReferencePointers; ++index) {
    if (bitmaps[index].empty()) {
      continue;
    }
    const std::optional<std::uint32_t> number = pager.AppendPage(bitmaps[index]);
    if (!number || !SetUsageMapBit(pager, kGlobalUsageMap, *number, false, true)) {
      return false;
    }
    numbers[index] = *number;
  }
  if (!pager.Flush()) {
    return false;
  }
  // Read again: the global map may share the page with this row.
  Bytes map_page;
  JET_REFUSE_IF(!pager.ReadPage(map.page, PageType::kData, map_page),
                "a usage map's page cannot be read");
  const std::optional<RowSlot> slot = ReadRowSlot(map_page, map.row);
  JET_REFUSE_IF(!slot || slot->end - slot->start != inline_row.size(),
                "a usage map row changed while it was promoted");
  const std::span<std::uint8_t> row =
      std::span(map_page).subspan(slot->start, slot->end - slot->start);
  std::fill(row.begin(), row.end(), 0);
  row[0] = kReferenceMap;
  for (std::size_t index = 0; index < kReferencePointers; ++index) {
    PutU32(row, 1 + index * 4, numbers[index]);
  }
  return pager.WritePage(map.page, map_page);
}

}  // namespace

bool SetUsageMapBit(Pager& pager, RowPointer map, std::uint32_t page, bool value,
                    bool outside_is_free) {
  Bytes map_page;
  JET_REFUSE_IF(!pager.ReadPage(map.page, PageType::kData, map_page),
                "a usage map's page cannot be read");
  const std::optional<RowSlot> slot = ReadRowSlot(map_page, map.row);
  JET_REFUSE_IF(!slot || slot->end - slot->start < kInlineHeader, "a usage map row is damaged");
  const std::span<std::uint8_t> row =
      std::span(map_page).subspan(slot->start, slot->end - slot->start);
  if (row[0] == kInlineMap) {
    const std::uint64_t start = U32(row, 1);
    const std::span<std::uint8_t> bitmap = row.subspan(kInlineHeader);
    if (page < start || page - start >= bitmap.size() * 8) {
      // Outside the window a bit is clear already. The global map's window never moves: a page
      // beyond it is not tracked either way, as with Access's own engine, so a file can grow
      // past its first 512 pages.
      if (outside_is_free || !value) {
        return true;
      }
      // A window of 512 pages that cannot move to take the page: the map outgrows its row.
      if (!MoveWindow(row, page)) {
        const Bytes inline_row(row.begin(), row.end());
        return PromoteToReference(pager, map, inline_row, page);
      }
    }
    JET_REFUSE_IF(!SetBit(bitmap, page - U32(row, 1), value),
                  "a page lies outside its usage map's window");
    return pager.WritePage(map.page, map_page);
  }
  JET_REFUSE_IF(row[0] != kReferenceMap, "a usage map is of a kind this engine does not know");
  const std::uint64_t per_page = (pager.PageSize() - kBitmapPageHeader) * 8ull;
  const std::size_t index = page / per_page;
  const std::size_t pointer_at = 1 + index * 4;
  if (!Fits(row, pointer_at, 4) || U32(row, pointer_at) == 0) {
    return outside_is_free || !value;
  }
  Bytes bitmap_page;
  const std::uint32_t bitmap_number = U32(row, pointer_at);
  JET_REFUSE_IF(!pager.ReadPage(bitmap_number, PageType::kUsageMap, bitmap_page),
                "a usage map's bitmap page cannot be read");
  JET_REFUSE_IF(!SetBit(std::span(bitmap_page).subspan(kBitmapPageHeader), page % per_page, value),
                "a page lies outside its usage map's bitmap page");
  return pager.WritePage(bitmap_number, bitmap_page);
}

}  // namespace lumora::jet
