#include "services/jet/long_value.h"

#include <algorithm>

#include "services/jet/data_page.h"

namespace lumora::jet {
namespace {

constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kSinglePage = 0x40000000;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
constexpr std::size_t kChainPointerSize = 4;

// The bytes of row `pointer.row` on data page `pointer.page`, whatever its flags say.
bool ReadRow(const Pager& pager, RowPointer pointer, Bytes& page, ByteView& row) {
  if (!pager.ReadPage(pointer.page, PageType::kData, page)) {
    return false;
  }
  const std::optional<RowSlot> slot = ReadRowSlot(page, pointer.row);
  if (!slot) {
    return false;
  }
  row = ByteView(page).subspan(slot->start, slot->end - slot->start);
  return true;
}

void AppendUpTo(ByteView data, std::size_t length, Bytes& out) {
  const std::size_t take = std::min(data.size(), length - out.size());
  out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(take));
}

}  // namespace

std::optional<Bytes> ReadLongValue(const Pager& pager, ByteView field) {
  if (!Fits(field, 0, kLongValueHeaderSize)) {
    return std::nullopt;
  }
  const std::uint32_t header = U32(field, 0);
  const std::size_t length = header & kLengthMask;
  Bytes value;
  if (header & kInline) {
    const ByteView data = Slice(field, kLongValueHeaderSize, length);
    if (data.size() != length) {
      return std::nullopt;
    }
    value.assign(data.begin(), data.end());
    return value;
  }
  Bytes page;
  ByteView row;
  RowPointer pointer = ReadRowPointer(field, 4);
  if (header & kSinglePage) {
    if (!ReadRow(pager, pointer, page, row)) {
      return std::nullopt;
    }
    AppendUpTo(row, length, value);
    return value.size() == length ? std::optional<Bytes>(std::move(value)) : std::nullopt;
  }
  // Every row of a chain but the last fills most of a page, so a chain longer than the file
  // has pages (plus slack for small rows) can only be a cycle.
  const std::uint64_t max_hops = std::uint64_t{pager.PageCount()} * 2 + 16;
  for (std::uint64_t hops = 0; value.size() < length; ++hops) {
    if (hops >= max_hops || !ReadRow(pager, pointer, page, row) || row.size() < kChainPointerSize) {
      return std::nullopt;
    }
    AppendUpTo(row.subspan(kChainPointerSize), length, value);
    pointer = ReadRowPointer(row, 0);
    if (pointer.page == 0) {
      break;
    }
  }
  return value.size() == length ? std::optional<Bytes>(std::move(value)) : std::nullopt;
}

}  // namespace lumora::jet
