#include <gtest/gtest.h>

#include <set>

#include "platform/code_page.h"
#include "services/jet/btree_writer.h"
#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/jet/usage_map.h"
#include "services/values/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;
using testing::Utf8;

RowValues ServerValues(const Text& name, const std::optional<Text>& port, const Text& note) {
  return {{"服务器名", name},     {"端口", port},   {"用户名", Text("admin")},
          {"密码", std::nullopt}, {"域", Text("")}, {"备注", note}};
}

Text CellText(const Row& row, std::size_t column) {
  return FieldToText(row.values[column]);
}

void ExpectHealthy(const Database& database) {
  const CheckReport report = database.Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front()) << " ("
                           << report.problems.size() << " problems)";
}

TEST(JetWriteInsert, OneRowReadsBackEverywhere) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "one.mdb");
  ASSERT_TRUE(Database::Create(path));
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    ASSERT_TRUE(database->Writable());
    std::int32_t id = 0;
    ASSERT_TRUE(database->InsertRow(
        "Server", ServerValues("测试服务器", Text("3389"), "O'Neil \"quoted\""), &id));
    EXPECT_EQ(id, 1);
    ExpectHealthy(*database);
  }
  const std::optional<Database> database = Database::Open(path);
  ASSERT_TRUE(database.has_value());
  const std::vector<Row> rows = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(CellText(rows[0], 0), "1");
  EXPECT_EQ(CellText(rows[0], 1), "测试服务器");
  EXPECT_EQ(CellText(rows[0], 2), "3389");
  EXPECT_EQ(CellText(rows[0], 3), "admin");
  EXPECT_TRUE(IsNull(rows[0].values[4]));
  EXPECT_FALSE(IsNull(rows[0].values[5]));
  EXPECT_EQ(CellText(rows[0], 6), "O'Neil \"quoted\"");
  EXPECT_EQ(database->OpenTable("Server")->Definition().row_count, 1u);
  EXPECT_EQ(database->OpenTable("Server")->Definition().autonumber, 1u);
  ExpectHealthy(*database);

  const std::string native = directory.NativePath("one.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    const std::u16string server = u"测试服务器";
    EXPECT_NE(csv->find("1,\"" + Utf8(server) +
                        "\",\"3389\",\"admin\",,,\"O'Neil "
                        "\"\"quoted\"\"\"\n"),
              std::string::npos)
        << *csv;
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    const std::u16string id_name = u"编号";
    const std::u16string password = u"密码";
    EXPECT_NE(json->find("\"" + Utf8(id_name) + "\":1,"), std::string::npos) << *json;
    EXPECT_NE(json->find("\"" + Utf8(password) + "\":null"), std::string::npos) << *json;
    const std::u16string domain = u"域";
    EXPECT_NE(json->find("\"" + Utf8(domain) + "\":\"\""), std::string::npos) << *json;
    EXPECT_NE(json->find("O'Neil \\\"quoted\\\""), std::string::npos) << *json;
  }
}

TEST(JetWriteInsert, ThousandRowsSplitPagesAndTheIndex) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "many.mdb");
  ASSERT_TRUE(Database::Create(path));
  constexpr int kRows = 1000;
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    for (int index = 1; index <= kRows; ++index) {
      std::int32_t id = 0;
      const Text name = "服务器" + std::to_string(index);
      ASSERT_TRUE(database->InsertRow("Server", ServerValues(name, std::nullopt, "备注"), &id))
          << index;
      ASSERT_EQ(id, index);
    }
    ExpectHealthy(*database);
  }
  const std::optional<Database> database = Database::Open(path);
  ASSERT_TRUE(database.has_value());
  const std::optional<TableReader> table = database->OpenTable("Server");
  const std::vector<Row> rows = table->ReadAll();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
  std::set<std::uint32_t> pages;
  for (int index = 0; index < kRows; ++index) {
    EXPECT_EQ(CellText(rows[index], 0), std::to_string(index + 1));
    EXPECT_EQ(CellText(rows[index], 1), "服务器" + std::to_string(index + 1));
    pages.insert(rows[index].id.page);
  }
  EXPECT_GT(pages.size(), 3u);
  EXPECT_EQ(table->Definition().row_count, static_cast<std::uint32_t>(kRows));
  EXPECT_EQ(table->Definition().real_indexes[0].unique_entry_count,
            static_cast<std::uint32_t>(kRows));
  ExpectHealthy(*database);

  const std::string native = directory.NativePath("many.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), static_cast<std::size_t>(kRows + 1));
    const std::u16string last = u"服务器1000";
    EXPECT_NE(csv->find("1000,\"" + Utf8(last) + "\""), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    const std::u16string name = u"服务器名";
    EXPECT_EQ(testing::Occurrences(*json, "\"" + Utf8(name) + "\":"),
              static_cast<std::size_t>(kRows));
  }
}

TEST(JetWriteInsert, RefusedInsertsChangeNothing) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "refuse.mdb");
  ASSERT_TRUE(Database::Create(path));
  const Bytes before = testing::ReadWholeFile(directory.NativePath("refuse.mdb"));
  {
    std::optional<Database> database = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    EXPECT_FALSE(database->InsertRow("Server", {{"编号", Text("5")}}));
    EXPECT_FALSE(database->InsertRow("Server", {{"NoSuchColumn", Text("x")}}));
    EXPECT_FALSE(database->InsertRow("NoSuchTable", {{"端口", Text("1")}}));
    EXPECT_FALSE(database->InsertRow("Server", {{"端口", Text(256, 'x')}}));
    EXPECT_FALSE(database->InsertRow("Server", {{"端口", Text("1")}, {"端口", Text("2")}}));
    EXPECT_FALSE(database->InsertRow("MSysObjects", {{"Name", Text("x")}}));
  }
  EXPECT_EQ(testing::ReadWholeFile(directory.NativePath("refuse.mdb")), before);

  std::optional<Database> reader = Database::Open(path);
  ASSERT_TRUE(reader.has_value());
  EXPECT_FALSE(reader->Writable());
  EXPECT_FALSE(reader->InsertRow("Server", {{"端口", Text("1")}}));
}

TEST(JetWriteInsert, LongestTextsFillARow) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "wide.mdb");
  ASSERT_TRUE(Database::Create(path));
  std::optional<Database> database = Database::Open(path, /*read_only=*/false);
  ASSERT_TRUE(database.has_value());
  Text chinese;
  for (int index = 0; index < 255; ++index) {
    chinese += "汉";
  }
  const Text ascii(255, 'a');
  for (int index = 0; index < 5; ++index) {
    ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", chinese},
                                               {"端口", ascii},
                                               {"用户名", chinese},
                                               {"密码", chinese},
                                               {"域", chinese},
                                               {"备注", chinese}}));
  }
  const std::vector<Row> rows = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(CellText(rows[4], 6), chinese);
  EXPECT_EQ(CellText(rows[4], 2), ascii);
  ExpectHealthy(*database);
}

}  // namespace
}  // namespace lumora::jet
