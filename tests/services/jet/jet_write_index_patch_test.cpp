// Writes that change an index only along one entry's path: after many of them the tree must
// look as a whole rebuild would leave it (every node entry naming its child's last entry, the
// distinct-key count right) and read the same to every reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "services/jet/database.h"
#include "services/jet/index_page.h"
#include "services/jet/jet_write_support.h"
#include "services/jet/page_source.h"
#include "services/jet/pager.h"
#include "services/jet/usage_map.h"
#include "services/jet/usage_map_writer.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;

struct TreeShape {
  int depth = 0;
  std::size_t leaves = 0;
  std::size_t entries = 0;
  std::size_t tails = 0;
  std::vector<std::string> faults;
};

// Walks the subtree at `number`; gives its last entry (without a child pointer).
Bytes Walk(const Pager& pager, std::uint32_t number, int depth, TreeShape& shape) {
  Bytes bytes;
  std::optional<IndexPage> page;
  if (depth > 8 || !pager.ReadPage(number, bytes) || !(page = ParseIndexPage(bytes))) {
    shape.faults.push_back("page " + std::to_string(number) + " unreadable");
    return {};
  }
  shape.depth = std::max(shape.depth, depth + 1);
  if (page->leaf) {
    ++shape.leaves;
    shape.entries += page->entries.size();
    return page->entries.empty() ? Bytes{} : page->entries.back();
  }
  Bytes last;
  for (const Bytes& entry : page->entries) {
    last = Walk(pager, NodeEntryChild(entry), depth + 1, shape);
    const Bytes named(entry.begin(), entry.end() - kChildPointerSize);
    if (named != last) {
      shape.faults.push_back("node " + std::to_string(number) + " misnames child " +
                             std::to_string(NodeEntryChild(entry)));
    }
  }
  // The last page of each level hangs off its parent's tail pointer, as in Access's files.
  if (page->next == 0 && page->child_tail == 0) {
    shape.faults.push_back("node " + std::to_string(number) + " ends its level without a tail");
  }
  if (page->child_tail != 0) {
    ++shape.tails;
    last = Walk(pager, page->child_tail, depth + 1, shape);
  }
  return last;
}

Pager PagerOf(const Text& path) {
  return Pager(std::shared_ptr<const PageSource>(OpenFileSource(path)), 4096, 0);
}

TreeShape ShapeOf(const Text& path) {
  TreeShape shape;
  const std::optional<Database> database = Database::Open(path);
  if (!database) {
    shape.faults.push_back("file unreadable");
    return shape;
  }
  const std::optional<TableReader> table = database->OpenTable("Server");
  const std::uint32_t root = table->Definition().real_indexes[0].root_page;
  Walk(PagerOf(path), root, 0, shape);
  return shape;
}

void ExpectSound(const Text& path, std::size_t rows) {
  const std::optional<Database> database = Database::Open(path);
  ASSERT_TRUE(database.has_value());
  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  const std::optional<TableReader> table = database->OpenTable("Server");
  EXPECT_EQ(table->Definition().row_count, rows);
  EXPECT_EQ(table->Definition().real_indexes[0].unique_entry_count, rows);
  const TreeShape shape = ShapeOf(path);
  EXPECT_TRUE(shape.faults.empty()) << shape.faults.front();
  EXPECT_EQ(shape.entries, rows);
}

TEST(JetIndexPatch, InsertsAndDeletesAcrossLeavesKeepTheTreeWhole) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "patch.mdb");
  ASSERT_TRUE(Database::Create(path));
  constexpr int kRows = 2000;
  std::vector<Row> rows;
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (int index = 1; index <= kRows; ++index) {
      ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", "h" + std::to_string(index)}}));
    }
    rows = database->OpenTable("Server")->ReadAll();
  }
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
  const TreeShape grown = ShapeOf(path);
  // More than one leaf under a node: the inserts went through leaf splits and node updates.
  EXPECT_GE(grown.depth, 2);
  EXPECT_GE(grown.leaves, 3u);
  EXPECT_GE(grown.tails, 1u);
  ExpectSound(path, kRows);

  std::size_t left = kRows;
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    // The newest row (the last entry of the last leaf, named by the root), then one from the
    // middle, then the oldest 800 (a whole leaf emptied on the way).
    ASSERT_TRUE(database->DeleteRow("Server", rows.back().id));
    ASSERT_TRUE(database->DeleteRow("Server", rows[kRows / 2].id));
    left -= 2;
    for (int index = 0; index < 800; ++index) {
      ASSERT_TRUE(database->DeleteRow("Server", rows[static_cast<std::size_t>(index)].id));
      --left;
    }
    EXPECT_FALSE(database->DeleteRow("Server", rows.back().id));
  }
  ExpectSound(path, left);
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (int index = 0; index < 50; ++index) {
      std::int32_t number = 0;
      ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", Text("again")}}, &number));
      EXPECT_EQ(number, kRows + 1 + index);
      ++left;
    }
  }
  ExpectSound(path, left);

  const std::string native = directory.NativePath("patch.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), left + 1);
    EXPECT_EQ(testing::Occurrences(*csv, "\"again\""), 50u);
    EXPECT_EQ(csv->find("\"h2000\""), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*json, "\"again\""), 50u);
    EXPECT_EQ(json->find("\"h1\""), std::string::npos);
  }
}

// The pages of the index's own usage map, sorted.
std::vector<std::uint32_t> IndexPages(const Text& path) {
  const std::optional<Database> database = Database::Open(path);
  const RowPointer map = database->OpenTable("Server")->Definition().real_indexes[0].usage_map;
  std::vector<std::uint32_t> pages = UsageMapPages(PagerOf(path), map);
  std::sort(pages.begin(), pages.end());
  return pages;
}

// Pages a shrinking tree gives up go back to the file's free pages, for the next page it needs.
TEST(JetIndexPatch, PagesAShrunkenTreeGivesUpBecomeFree) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "shrink.mdb");
  ASSERT_TRUE(Database::Create(path));
  std::vector<Row> rows;
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (int index = 1; index <= 2000; ++index) {
      ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", "h" + std::to_string(index)}}));
    }
    rows = database->OpenTable("Server")->ReadAll();
  }
  const std::vector<std::uint32_t> grown = IndexPages(path);
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (std::size_t index = 10; index < rows.size(); ++index) {
      ASSERT_TRUE(database->DeleteRow("Server", rows[index].id));
    }
  }
  ExpectSound(path, 10);
  const std::vector<std::uint32_t> shrunk = IndexPages(path);
  std::vector<std::uint32_t> given_up;
  std::set_difference(grown.begin(), grown.end(), shrunk.begin(), shrunk.end(),
                      std::back_inserter(given_up));
  ASSERT_FALSE(given_up.empty());
  const std::vector<std::uint32_t> free_pages = UsageMapPages(PagerOf(path), kGlobalUsageMap);
  for (const std::uint32_t page : given_up) {
    EXPECT_NE(std::find(free_pages.begin(), free_pages.end(), page), free_pages.end())
        << "page " << page << " is neither the index's nor free";
  }
}

}  // namespace
}  // namespace lumora::jet
