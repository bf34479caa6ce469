#include <gtest/gtest.h>

#include "jet/jet_test_support.h"
#include "jet/jet_write_support.h"
#include "services/jet/database.h"
#include "services/jet/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;

TEST(JetWriteDelete, DeletedRowsVanishFromRowsCountsAndIndex) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "delete.mdb");
  ASSERT_TRUE(Database::Create(path));
  std::optional<Database> database = Database::Open(path, /*read_only=*/false);
  ASSERT_TRUE(database.has_value());
  constexpr int kRows = 450;
  for (int index = 1; index <= kRows; ++index) {
    ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", "s" + std::to_string(index)}}));
  }
  std::vector<Row> rows = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
  // Every third row, and a moved row.
  ASSERT_TRUE(database->UpdateRow("Server", rows[1].id, {{"备注", Text(250, 'm')}}));
  int deleted = 0;
  for (int index = 1; index < kRows; index += 3) {
    ASSERT_TRUE(database->DeleteRow("Server", rows[index].id)) << index;
    ++deleted;
  }
  EXPECT_FALSE(database->DeleteRow("Server", rows[1].id));  // already gone

  const std::vector<Row> left = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(left.size(), static_cast<std::size_t>(kRows - deleted));
  for (const Row& row : left) {
    const int id = std::stoi(FieldToText(row.values[0]));
    EXPECT_NE((id - 2) % 3, 0) << id;
  }
  EXPECT_EQ(database->OpenTable("Server")->Definition().row_count,
            static_cast<std::uint32_t>(kRows - deleted));
  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());

  // New rows continue the numbering.
  std::int32_t next = 0;
  ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", Text("after")}}, &next));
  EXPECT_EQ(next, kRows + 1);
  database.reset();

  const std::string native = directory.NativePath("delete.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), static_cast<std::size_t>(kRows - deleted + 2));
    EXPECT_EQ(csv->find("\"s2\""), std::string::npos);
    EXPECT_NE(csv->find("\"s3\""), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    EXPECT_EQ(json->find("\"s2\""), std::string::npos);
    EXPECT_EQ(testing::Occurrences(*json, "\"after\""), 1u);
  }
}

}  // namespace
}  // namespace lumora::jet
