#include "services/jet/btree_writer.h"

#include <algorithm>
#include <deque>
#include <set>

#include "services/jet/byte_writer.h"
#include "services/jet/failure.h"
#include "services/jet/index_page.h"
#include "services/jet/usage_map_writer.h"

namespace lumora::jet {
namespace {

// A page of the new tree: where it goes, its links, and which entries of its level it holds
// (built into a page only when it is written, so that the entries are never held twice).
struct PlannedPage {
  std::uint32_t number = 0;
  bool leaf = true;
  std::uint32_t previous = 0;
  std::uint32_t next = 0;
  std::uint32_t child_tail = 0;
  const std::vector<Bytes>* level = nullptr;
  std::size_t first = 0;
  std::size_t count = 0;

  IndexPage Page() const {
    IndexPage page;
    page.leaf = leaf;
    page.previous = previous;
    page.next = next;
    page.child_tail = child_tail;
    page.entries.assign(level->begin() + static_cast<std::ptrdiff_t>(first),
                        level->begin() + static_cast<std::ptrdiff_t>(first + count));
    return page;
  }
};

bool Walk(const Pager& pager, std::uint32_t owner, std::uint32_t number, int depth,
          std::set<std::uint32_t>& seen, IndexContents& contents) {
  // A B-tree of 4 KB pages never gets this deep; deeper is a loop or damage.
  constexpr int kMaxDepth = 16;
  Bytes bytes;
  if (depth > kMaxDepth || !seen.insert(number).second || !pager.ReadPage(number, bytes) ||
      U32(bytes, 4) != owner) {
    return false;
  }
  const std::optional<IndexPage> page = ParseIndexPage(bytes);
  if (!page) {
    return false;
  }
  contents.pages.push_back(number);
  if (page->leaf) {
    contents.entries.insert(contents.entries.end(), page->entries.begin(), page->entries.end());
    return true;
  }
  for (const Bytes& entry : page->entries) {
    if (!Walk(pager, owner, NodeEntryChild(entry), depth + 1, seen, contents)) {
      return false;
    }
  }
  if (page->child_tail != 0 && !seen.contains(page->child_tail)) {
    return Walk(pager, owner, page->child_tail, depth + 1, seen, contents);
  }
  return true;
}

std::size_t SharedPrefix(const Bytes& a, const Bytes& b) {
  const auto [end_a, end_b] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return static_cast<std::size_t>(end_a - a.begin());
}

// Splits `entries` into runs that each fit one page; at least one run, possibly empty.
std::vector<std::pair<std::size_t, std::size_t>> Pack(const std::vector<Bytes>& entries,
                                                      std::size_t capacity) {
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  std::size_t first = 0;
  while (first < entries.size()) {
    // The entries are sorted, so the prefix a page shares is that of its first and last
    // entries; the size of one more entry follows from the sum of the whole sizes so far.
    std::size_t count = 1;
    std::size_t whole_sizes = entries[first].size();
    while (first + count < entries.size()) {
      const Bytes& next = entries[first + count];
      const std::size_t prefix = SharedPrefix(entries[first], next);
      if (whole_sizes + next.size() - count * prefix > capacity) {
        break;
      }
      whole_sizes += next.size();
      ++count;
    }
    runs.emplace_back(first, count);
    first += count;
  }
  if (runs.empty()) {
    runs.emplace_back(0, 0);
  }
  return runs;
}

}  // namespace

std::optional<IndexContents> ReadIndexTree(const Pager& pager, std::uint32_t owner,
                                           std::uint32_t root) {
  IndexContents contents;
  std::set<std::uint32_t> seen;
  if (!Walk(pager, owner, root, 0, seen, contents)) {
    return std::nullopt;
  }
  return contents;
}

std::uint32_t DistinctKeys(const std::vector<Bytes>& entries) {
  std::uint32_t count = 0;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const ByteView key = ByteView(entries[index]).first(entries[index].size() - kLeafPointerSize);
    if (index == 0) {
      ++count;
      continue;
    }
    const ByteView before =
        ByteView(entries[index - 1]).first(entries[index - 1].size() - kLeafPointerSize);
    if (!std::equal(key.begin(), key.end(), before.begin(), before.end())) {
      ++count;
    }
  }
  return count;
}

bool WriteIndexTree(Pager& pager, std::uint32_t owner, const RealIndex& index,
                    const std::vector<Bytes>& entries,
                    const std::vector<std::uint32_t>& old_pages) {
  const std::size_t capacity = IndexEntryCapacity(pager.PageSize());
  for (const Bytes& entry : entries) {
    JET_REFUSE_IF(entry.size() > capacity / 2, "an index entry is larger than half a page");
  }
  std::vector<std::uint32_t> pool;
  for (std::uint32_t page : old_pages) {
    if (page != index.root_page) {
      pool.push_back(page);
    }
  }
  std::sort(pool.begin(), pool.end());
  std::size_t pool_used = 0;
  std::uint32_t next_new = pager.PageCount();
  std::vector<std::uint32_t> appended;

  std::vector<PlannedPage> plan;
  // The levels above the leaves; a deque, so that the plan's pointers into it stay good.
  std::deque<std::vector<Bytes>> upper_levels;
  const std::vector<Bytes>* level = &entries;
  bool leaf = true;
  for (;;) {
    const auto runs = Pack(*level, capacity);
    std::vector<std::uint32_t> numbers;
    for (std::size_t run = 0; run < runs.size(); ++run) {
      if (runs.size() == 1) {
        numbers.push_back(index.root_page);
      } else if (pool_used < pool.size()) {
        numbers.push_back(pool[pool_used++]);
      } else {
        appended.push_back(next_new);
        numbers.push_back(next_new++);
      }
    }
    std::vector<Bytes> parents;
    for (std::size_t run = 0; run < runs.size(); ++run) {
      const auto [first, count] = runs[run];
      PlannedPage planned{.number = numbers[run],
                          .leaf = leaf,
                          .previous = run == 0 ? 0 : numbers[run - 1],
                          .next = run + 1 == runs.size() ? 0 : numbers[run + 1],
                          .level = level,
                          .first = first,
                          .count = count};
      if (runs.size() > 1) {
        Bytes parent = (*level)[first + count - 1];
        if (!leaf) {
          parent.resize(parent.size() - kChildPointerSize);
        }
        parent.resize(parent.size() + kChildPointerSize);
        PutBigEndian(parent, parent.size() - kChildPointerSize, numbers[run], kChildPointerSize);
        parents.push_back(std::move(parent));
      }
      plan.push_back(planned);
    }
    if (runs.size() == 1) {
      break;
    }
    upper_levels.push_back(std::move(parents));
    level = &upper_levels.back();
    leaf = false;
  }

  // As Access lays a tree out, the last page of each level below the root is named by no node
  // entry: its parent reaches it through the tail pointer.
  for (PlannedPage& planned : plan) {
    if (!planned.leaf && planned.next == 0 && planned.count > 0) {
      planned.child_tail = NodeEntryChild((*planned.level)[planned.first + planned.count - 1]);
      --planned.count;
    }
  }

  // New pages first, in file order; nothing points at them yet.
  std::sort(plan.begin(), plan.end(),
            [](const PlannedPage& a, const PlannedPage& b) { return a.number < b.number; });
  for (const PlannedPage& planned : plan) {
    if (planned.number < pager.PageCount()) {
      continue;
    }
    const std::optional<std::uint32_t> number =
        pager.AppendPage(SerializeIndexPage(planned.Page(), owner, pager.PageSize()));
    if (!number) {
      return false;
    }
    JET_REFUSE_IF(*number != planned.number, "a new index page did not land where it was planned");
  }
  for (std::uint32_t page : appended) {
    if (!SetUsageMapBit(pager, kGlobalUsageMap, page, false, true) ||
        !SetUsageMapBit(pager, index.usage_map, page, true)) {
      return false;
    }
  }
  if (!appended.empty() && !pager.Flush()) {
    return false;
  }
  const PlannedPage* root = nullptr;
  for (const PlannedPage& planned : plan) {
    if (planned.number == index.root_page) {
      root = &planned;
    } else if (std::find(appended.begin(), appended.end(), planned.number) == appended.end() &&
               !pager.WritePage(planned.number,
                                SerializeIndexPage(planned.Page(), owner, pager.PageSize()))) {
      return false;
    }
  }
  JET_REFUSE_IF(!root, "the planned tree has no root page");
  if ((plan.size() > 1 && !pager.Flush()) ||
      !pager.WritePage(root->number, SerializeIndexPage(root->Page(), owner, pager.PageSize()))) {
    return false;
  }
  // Pages the smaller tree no longer uses go back to the file's free pages.
  Bytes freed(pager.PageSize(), 0);
  for (std::size_t unused = pool_used; unused < pool.size(); ++unused) {
    if (!pager.WritePage(pool[unused], freed) ||
        !SetUsageMapBit(pager, index.usage_map, pool[unused], false) ||
        !SetUsageMapBit(pager, kGlobalUsageMap, pool[unused], true, true)) {
      return false;
    }
  }
  return true;
}

}  // namespace lumora::jet
