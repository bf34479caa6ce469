#include "services/jet/btree_patch.h"

#include <algorithm>
#include <optional>

#include "services/jet/byte_writer.h"
#include "services/jet/index_page.h"

namespace lumora::jet {
namespace {

// One page on the way from the root to a leaf, and which of its entries led on (the number of
// entries when the way went through the tail pointer).
struct PathStep {
  std::uint32_t number = 0;
  IndexPage page;
  std::size_t slot = 0;

  bool ThroughTail() const { return slot == page.entries.size(); }
};

ByteView WithoutChild(const Bytes& node_entry) {
  return ByteView(node_entry).first(node_entry.size() - kChildPointerSize);
}

bool LessOrEqual(const Bytes& entry, ByteView bound) {
  return !std::lexicographical_compare(bound.begin(), bound.end(), entry.begin(), entry.end());
}

std::optional<IndexPage> ReadIndexPage(const Pager& pager, std::uint32_t owner,
                                       std::uint32_t number) {
  Bytes bytes;
  if (!pager.ReadPage(number, bytes) || U32(bytes, 4) != owner) {
    return std::nullopt;
  }
  return ParseIndexPage(bytes);
}

// The pages from the root down to the leaf where `entry` belongs: at each node the first child
// whose last entry is not below it, else the tail child, else the last child. Empty when the
// tree is damaged.
std::optional<std::vector<PathStep>> PathTo(const Pager& pager, std::uint32_t owner,
                                            std::uint32_t root, const Bytes& entry) {
  constexpr std::size_t kMaxDepth = 16;
  std::vector<PathStep> path;
  std::uint32_t number = root;
  for (;;) {
    std::optional<IndexPage> page = ReadIndexPage(pager, owner, number);
    if (!page || path.size() > kMaxDepth) {
      return std::nullopt;
    }
    PathStep step{number, std::move(*page), 0};
    if (step.page.leaf) {
      path.push_back(std::move(step));
      return path;
    }
    const std::vector<Bytes>& entries = step.page.entries;
    const auto child = std::find_if(entries.begin(), entries.end(), [&](const Bytes& node) {
      return LessOrEqual(entry, WithoutChild(node));
    });
    if (child != entries.end()) {
      step.slot = static_cast<std::size_t>(child - entries.begin());
      number = NodeEntryChild(entries[step.slot]);
    } else if (step.page.child_tail != 0) {
      step.slot = entries.size();
      number = step.page.child_tail;
    } else if (!entries.empty()) {
      step.slot = entries.size() - 1;
      number = NodeEntryChild(entries[step.slot]);
    } else {
      return std::nullopt;
    }
    path.push_back(std::move(step));
  }
}

bool Fits(const IndexPage& page, std::size_t capacity) {
  return StoredEntriesSize(page.entries, 0, page.entries.size()) <= capacity;
}

// After the leaf's last entry changed: the node entry that names it (and, while that is the
// last of its page, those above) takes the new last entry. A child reached through a tail
// pointer is named by no entry. False when a node would overflow.
bool CarryLastEntryUp(std::vector<PathStep>& path, std::size_t capacity) {
  for (std::size_t level = path.size() - 1; level > 0; --level) {
    const IndexPage& child = path[level].page;
    PathStep& parent = path[level - 1];
    if (parent.ThroughTail()) {
      break;
    }
    const ByteView last =
        child.leaf ? ByteView(child.entries.back()) : WithoutChild(child.entries.back());
    Bytes named(last.begin(), last.end());
    named.resize(named.size() + kChildPointerSize);
    PutBigEndian(named, named.size() - kChildPointerSize, path[level].number, kChildPointerSize);
    parent.page.entries[parent.slot] = std::move(named);
    if (!Fits(parent.page, capacity)) {
      return false;
    }
    if (parent.slot + 1 != parent.page.entries.size() || parent.page.child_tail != 0) {
      break;
    }
  }
  return true;
}

std::optional<Bytes> NeighbourEntry(const Pager& pager, std::uint32_t owner, std::uint32_t page,
                                    bool last) {
  if (page == 0) {
    return std::nullopt;
  }
  const std::optional<IndexPage> leaf = ReadIndexPage(pager, owner, page);
  if (!leaf || !leaf->leaf || leaf->entries.empty()) {
    return std::nullopt;
  }
  return last ? leaf->entries.back() : leaf->entries.front();
}

bool SameKey(const Bytes& a, const Bytes& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end() - kLeafPointerSize, b.begin(), b.end() - kLeafPointerSize);
}

// The changed pages, the leaf first, then the nodes above it from the bottom up.
void Collect(const std::vector<PathStep>& path, std::size_t changed_levels, std::uint32_t owner,
             std::uint32_t page_size, std::vector<PagePatch>& patches) {
  for (std::size_t done = 0; done < changed_levels; ++done) {
    const PathStep& step = path[path.size() - 1 - done];
    patches.push_back({step.number, SerializeIndexPage(step.page, owner, page_size)});
  }
}

// Levels whose pages differ from `before`, counted from the leaf.
std::size_t ChangedLevels(const std::vector<PathStep>& path,
                          const std::vector<std::vector<Bytes>>& before) {
  std::size_t changed = 0;
  for (std::size_t level = path.size(); level-- > 0;) {
    if (path[level].page.entries == before[level]) {
      break;
    }
    ++changed;
  }
  return changed;
}

std::vector<std::vector<Bytes>> EntriesOf(const std::vector<PathStep>& path) {
  std::vector<std::vector<Bytes>> entries;
  entries.reserve(path.size());
  for (const PathStep& step : path) {
    entries.push_back(step.page.entries);
  }
  return entries;
}

}  // namespace

PatchPlan PlanEntryInsert(const Pager& pager, std::uint32_t owner, const RealIndex& index,
                          const Bytes& entry, bool unique, std::vector<PagePatch>& patches) {
  std::optional<std::vector<PathStep>> path = PathTo(pager, owner, index.root_page, entry);
  if (!path) {
    return PatchPlan::kRebuild;
  }
  const std::vector<std::vector<Bytes>> before = EntriesOf(*path);
  IndexPage& leaf = path->back().page;
  const auto position = std::upper_bound(leaf.entries.begin(), leaf.entries.end(), entry);
  if (unique) {
    // Entries of one key lie together, so only the neighbours can share it; at either end of
    // the leaf the neighbour is on the next leaf over.
    const std::optional<Bytes> before_entry =
        position != leaf.entries.begin() ? std::optional<Bytes>(*(position - 1))
                                         : NeighbourEntry(pager, owner, leaf.previous, true);
    const std::optional<Bytes> after_entry = position != leaf.entries.end()
                                                 ? std::optional<Bytes>(*position)
                                                 : NeighbourEntry(pager, owner, leaf.next, false);
    if ((before_entry && SameKey(*before_entry, entry)) ||
        (after_entry && SameKey(*after_entry, entry))) {
      return PatchPlan::kDuplicate;
    }
  }
  const bool becomes_last = position == leaf.entries.end();
  leaf.entries.insert(position, entry);
  const std::size_t capacity = IndexEntryCapacity(pager.PageSize());
  if (!Fits(leaf, capacity) || (becomes_last && !CarryLastEntryUp(*path, capacity))) {
    return PatchPlan::kRebuild;
  }
  Collect(*path, ChangedLevels(*path, before), owner, pager.PageSize(), patches);
  return PatchPlan::kPatched;
}

PatchPlan PlanEntryRemoval(const Pager& pager, std::uint32_t owner, const RealIndex& index,
                           const Bytes& entry, std::vector<PagePatch>& patches) {
  std::optional<std::vector<PathStep>> path = PathTo(pager, owner, index.root_page, entry);
  if (!path) {
    return PatchPlan::kRebuild;
  }
  const std::vector<std::vector<Bytes>> before = EntriesOf(*path);
  IndexPage& leaf = path->back().page;
  const auto found = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry);
  if (found == leaf.entries.end() || *found != entry) {
    return PatchPlan::kRebuild;
  }
  const bool was_last = found + 1 == leaf.entries.end();
  leaf.entries.erase(found);
  // An emptied leaf below a node would leave a node entry naming nothing.
  if (leaf.entries.empty() && path->size() > 1) {
    return PatchPlan::kRebuild;
  }
  const std::size_t capacity = IndexEntryCapacity(pager.PageSize());
  if (!Fits(leaf, capacity) ||
      (was_last && path->size() > 1 && !CarryLastEntryUp(*path, capacity))) {
    return PatchPlan::kRebuild;
  }
  Collect(*path, ChangedLevels(*path, before), owner, pager.PageSize(), patches);
  return PatchPlan::kPatched;
}

}  // namespace lumora::jet
