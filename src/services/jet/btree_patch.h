// Adding or removing one entry of an index B-tree by changing only the pages on its path: the
// leaf that holds it and, where the leaf's last entry changes, the node entries above that name
// it. Anything that would need a split, an emptied page or a tail pointer is left to a rebuild
// of the whole tree (btree_writer.h).
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "services/jet/pager.h"
#include "services/jet/table_definition.h"

namespace lumora::jet {

// A page's new contents.
struct PagePatch {
  std::uint32_t number = 0;
  Bytes bytes;
};

enum class PatchPlan {
  kPatched,    // `patches` hold the changed pages, the leaf first
  kRebuild,    // the change does not fit the pages as they are
  kDuplicate,  // an entry with the same key exists (insert into a unique index)
};

// Plans adding `entry` (key and row pointer) to the tree of `index`; writes nothing. With
// `unique`, an existing entry of the same key gives kDuplicate.
PatchPlan PlanEntryInsert(const Pager& pager, std::uint32_t owner, const RealIndex& index,
                          const Bytes& entry, bool unique, std::vector<PagePatch>& patches);

// Plans removing `entry`; kRebuild also when it is not where it belongs.
PatchPlan PlanEntryRemoval(const Pager& pager, std::uint32_t owner, const RealIndex& index,
                           const Bytes& entry, std::vector<PagePatch>& patches);

}  // namespace lumora::jet
