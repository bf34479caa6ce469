#include "services/jet/index_page.h"

#include <algorithm>

#include "services/jet/byte_writer.h"
#include "services/jet/pager.h"

namespace lumora::jet {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kPreviousOffset = 12;
constexpr std::size_t kNextOffset = 16;
constexpr std::size_t kTailOffset = 20;
constexpr std::size_t kPrefixOffset = 24;
constexpr std::size_t kBitmapOffset = 27;

std::size_t CommonPrefix(ByteView a, ByteView b) {
  const std::size_t limit = std::min(a.size(), b.size());
  std::size_t length = 0;
  while (length < limit && a[length] == b[length]) {
    ++length;
  }
  return length;
}

}  // namespace

std::optional<IndexPage> ParseIndexPage(ByteView page) {
  if (page.size() <= kIndexEntriesStart) {
    return std::nullopt;
  }
  IndexPage result;
  const std::uint8_t type = page[0];
  if (type != static_cast<std::uint8_t>(PageType::kIndexLeaf) &&
      type != static_cast<std::uint8_t>(PageType::kIndexNode)) {
    return std::nullopt;
  }
  result.leaf = type == static_cast<std::uint8_t>(PageType::kIndexLeaf);
  result.previous = U32(page, kPreviousOffset);
  result.next = U32(page, kNextOffset);
  result.child_tail = U32(page, kTailOffset);
  const std::size_t prefix = U16(page, kPrefixOffset);
  const ByteView bitmap = page.subspan(kBitmapOffset, kIndexEntriesStart - kBitmapOffset);
  const std::size_t minimum = result.leaf ? kLeafPointerSize : kLeafPointerSize + kChildPointerSize;
  std::size_t start = 0;
  for (std::size_t bit = 0; bit < bitmap.size() * 8; ++bit) {
    if (!((bitmap[bit / 8] >> (bit % 8)) & 1)) {
      continue;
    }
    if (bit <= start || kIndexEntriesStart + bit > page.size()) {
      return std::nullopt;
    }
    const ByteView stored = page.subspan(kIndexEntriesStart + start, bit - start);
    Bytes entry;
    if (!result.entries.empty()) {
      const Bytes& first = result.entries.front();
      if (prefix > first.size()) {
        return std::nullopt;
      }
      entry.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(prefix));
    }
    entry.insert(entry.end(), stored.begin(), stored.end());
    if (entry.size() < minimum) {
      return std::nullopt;
    }
    result.entries.push_back(std::move(entry));
    start = bit;
  }
  return result;
}

std::size_t IndexEntryCapacity(std::uint32_t page_size) {
  return std::min<std::size_t>(page_size - kIndexEntriesStart,
                               (kIndexEntriesStart - kBitmapOffset) * 8);
}

std::size_t StoredEntriesSize(const std::vector<Bytes>& entries, std::size_t first,
                              std::size_t count) {
  if (count == 0) {
    return 0;
  }
  const std::size_t prefix =
      count == 1 ? 0 : CommonPrefix(entries[first], entries[first + count - 1]);
  std::size_t size = entries[first].size();
  for (std::size_t index = first + 1; index < first + count; ++index) {
    size += entries[index].size() - prefix;
  }
  return size;
}

Bytes SerializeIndexPage(const IndexPage& page, std::uint32_t owner, std::uint32_t page_size) {
  Bytes out(page_size, 0);
  out[0] = static_cast<std::uint8_t>(page.leaf ? PageType::kIndexLeaf : PageType::kIndexNode);
  out[1] = 0x01;
  PutU32(out, kOwnerOffset, owner);
  PutU32(out, kPreviousOffset, page.previous);
  PutU32(out, kNextOffset, page.next);
  PutU32(out, kTailOffset, page.child_tail);
  const std::vector<Bytes>& entries = page.entries;
  const std::size_t prefix = entries.size() < 2 ? 0 : CommonPrefix(entries.front(), entries.back());
  PutU16(out, kPrefixOffset, static_cast<std::uint32_t>(prefix));
  // Genuine node pages carry 1 here, leaves 0.
  out[kPrefixOffset + 2] = page.leaf ? 0 : 1;
  std::size_t end = 0;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const std::size_t skip = index == 0 ? 0 : prefix;
    const Bytes& entry = entries[index];
    std::copy(entry.begin() + static_cast<std::ptrdiff_t>(skip), entry.end(),
              out.begin() + static_cast<std::ptrdiff_t>(kIndexEntriesStart + end));
    end += entry.size() - skip;
    out[kBitmapOffset + end / 8] |= static_cast<std::uint8_t>(1u << (end % 8));
  }
  PutU16(out, kFreeSpaceOffset, static_cast<std::uint32_t>(page_size - kIndexEntriesStart - end));
  return out;
}

Bytes LeafEntry(ByteView key, RowId row) {
  Bytes entry(key.begin(), key.end());
  entry.resize(key.size() + kLeafPointerSize);
  PutBigEndian(entry, key.size(), row.page, 3);
  entry[key.size() + 3] = row.row;
  return entry;
}

RowId LeafEntryRow(ByteView entry) {
  const std::size_t at = entry.size() - kLeafPointerSize;
  return RowId{BigEndian(entry, at, 3), entry[at + 3]};
}

std::uint32_t NodeEntryChild(ByteView entry) {
  return BigEndian(entry, entry.size() - kChildPointerSize, kChildPointerSize);
}

}  // namespace lumora::jet
