// One page of an index B-tree (Jet 4 layout): a leaf holds entries "key, page, row"; a node
// holds "key, page, row, child page", each naming the last entry under that child. Entries after
// the first omit the prefix they share with it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/byte_view.h"
#include "services/jet/table_reader.h"

namespace lumora::jet {

inline constexpr std::size_t kIndexEntriesStart = 480;
inline constexpr std::size_t kLeafPointerSize = 4;
inline constexpr std::size_t kChildPointerSize = 4;

struct IndexPage {
  bool leaf = true;
  std::uint32_t previous = 0;
  std::uint32_t next = 0;
  std::uint32_t child_tail = 0;
  // Whole entries, prefixes restored.
  std::vector<Bytes> entries;
};

// Empty when the page is not an index page or its entries run outside it.
std::optional<IndexPage> ParseIndexPage(ByteView page);

// Room for entries on one page.
std::size_t IndexEntryCapacity(std::uint32_t page_size);

// Bytes the entries take on a page, shared prefix left out.
std::size_t StoredEntriesSize(const std::vector<Bytes>& entries, std::size_t first,
                              std::size_t count);

Bytes SerializeIndexPage(const IndexPage& page, std::uint32_t owner, std::uint32_t page_size);

// Leaf entry for a row: the key, then page (3 bytes) and row, most significant first.
Bytes LeafEntry(ByteView key, RowId row);
RowId LeafEntryRow(ByteView entry);
// A node entry's child page.
std::uint32_t NodeEntryChild(ByteView entry);

}  // namespace lumora::jet
