// A table whose pages outgrow the 512-page window of an inline usage map: the map becomes a
// reference map and the table keeps taking rows that every reader sees.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "services/jet/data_page.h"
#include "services/jet/database.h"
#include "services/jet/jet_write_support.h"
#include "services/jet/page_source.h"
#include "services/jet/pager.h"
#include "services/jet/usage_map.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;

// 255 characters, nearly all Chinese, which Jet's text compression cannot shorten.
Text LongChineseText(int number) {
  const Text digits = std::to_string(number);
  Text text = digits;
  for (std::size_t count = digits.size(); count < 255; ++count) {
    text += "机";
  }
  return text;
}

TEST(JetUsageMapPromotion, TableOutgrowingTheInlineWindowKeepsTakingRows) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "wide.mdb");
  ASSERT_TRUE(Database::Create(path));
  // Four long texts make about 2 KB a row, two rows a page: 1,100 rows need over 540 pages.
  constexpr int kRows = 1100;
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (int index = 1; index <= kRows; ++index) {
      const Text text = LongChineseText(index);
      ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", "h" + std::to_string(index)},
                                                 {"用户名", text},
                                                 {"密码", text},
                                                 {"备注", text}}))
          << index;
    }
  }
  const std::optional<Database> database = Database::Open(path);
  ASSERT_TRUE(database.has_value());
  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  const std::optional<TableReader> table = database->OpenTable("Server");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->ReadAll().size(), static_cast<std::size_t>(kRows));
  EXPECT_EQ(table->Definition().row_count, static_cast<std::uint32_t>(kRows));
  // The table's map of owned pages is now the reference kind.
  const RowPointer owned = table->Definition().owned_pages;
  const Pager pager(std::shared_ptr<const PageSource>(OpenFileSource(path)), 4096, 0);
  Bytes map_page;
  ASSERT_TRUE(pager.ReadPage(owned.page, PageType::kData, map_page));
  const std::optional<RowSlot> slot = ReadRowSlot(map_page, owned.row);
  ASSERT_TRUE(slot.has_value());
  EXPECT_EQ(map_page[slot->start], 0x01);
  EXPECT_GT(UsageMapPages(pager, owned).size(), 512u);

  const std::string native = directory.NativePath("wide.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), static_cast<std::size_t>(kRows + 1));
    EXPECT_NE(csv->find("\"h1100\""), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*json, "\"h1"), 212u);  // h1, h10-h19, h100-h199, h1000-h1099
  }
}

}  // namespace
}  // namespace lumora::jet
