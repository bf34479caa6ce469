// Reading every entry of an index B-tree and writing a changed entry list back as a balanced
// tree: leaves filled in key order, node levels above them, the root kept on its page.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/pager.h"
#include "services/jet/table_definition.h"

namespace lumora::jet {

struct IndexContents {
  // Leaf entries in tree order.
  std::vector<Bytes> entries;
  // Every page of the tree, the root first.
  std::vector<std::uint32_t> pages;
};

// Walks the tree from `root`; empty when a page is not an index page of the table or the tree
// loops.
std::optional<IndexContents> ReadIndexTree(const Pager& pager, std::uint32_t owner,
                                           std::uint32_t root);

// Replaces the tree of `index` (whose old pages are `old_pages`) by one holding `entries`,
// which must be sorted. New pages go at the end of the file and are written, with the maps,
// before the pages that point at them; the root is written last. Pages no longer needed are
// freed.
bool WriteIndexTree(Pager& pager, std::uint32_t owner, const RealIndex& index,
                    const std::vector<Bytes>& entries, const std::vector<std::uint32_t>& old_pages);

// Number of distinct keys among sorted leaf entries.
std::uint32_t DistinctKeys(const std::vector<Bytes>& entries);

}  // namespace lumora::jet
