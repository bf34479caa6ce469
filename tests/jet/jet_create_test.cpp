#include <gtest/gtest.h>

#include "jet/jet_test_support.h"
#include "jet/jet_write_support.h"
#include "platform/files.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;
using testing::Utf8;

// A create stopped after any of its writes leaves no file under the catalogue's name, and the
// next create makes a whole one.
TEST(JetCreate, ACreateCutShortLeavesNothingThatBlocksTheNext) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "new.mdb");
  for (int allowed = 0;; ++allowed) {
    testing::StopDiskWritesAfter(allowed, allowed % 2 == 1);
    const bool created = Database::Create(path);
    testing::StopDiskWritesAfter(std::nullopt);
    if (created) {
      EXPECT_GT(allowed, 3);
      break;
    }
    ASSERT_FALSE(platform::FileExists(path)) << allowed;
    ASSERT_LT(allowed, 1000);
  }
  ASSERT_TRUE(platform::RemoveFile(path));
  ASSERT_TRUE(Database::Create(path));
  EXPECT_TRUE(Database::Open(path).has_value());
  EXPECT_TRUE(platform::FindFiles(path + ".creating*").empty());
}

TEST(JetCreate, NewFileReadsBackWithTheServerTable) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "new.mdb");
  ASSERT_TRUE(Database::Create(path));
  EXPECT_FALSE(Database::Create(path));  // never over an existing file

  const std::optional<Database> database = Database::Open(path);
  ASSERT_TRUE(database.has_value());
  EXPECT_EQ(database->Info().version, JetVersion::kJet4);
  EXPECT_EQ(database->Info().sort_order, 1033);
  EXPECT_EQ(database->Info().sort_version, 0);
  EXPECT_EQ(database->Info().database_key, 0u);
  EXPECT_EQ(database->Info().code_page, 1252);
  ASSERT_EQ(database->TableNames(), std::vector<Text>{"Server"});

  const std::optional<TableReader> table = database->OpenTable("Server");
  ASSERT_TRUE(table.has_value());
  const std::vector<Text> expected = {"编号", "服务器名", "端口", "用户名", "密码", "域", "备注"};
  ASSERT_EQ(table->Columns().size(), expected.size());
  for (std::size_t index = 0; index < expected.size(); ++index) {
    EXPECT_EQ(table->ColumnName(index), expected[index]);
  }
  EXPECT_TRUE(table->Columns()[0].IsAutoNumber());
  EXPECT_EQ(table->Columns()[0].type, ColumnType::kLong);
  for (std::size_t index = 1; index < expected.size(); ++index) {
    EXPECT_EQ(table->Columns()[index].type, ColumnType::kText);
    EXPECT_EQ(table->Columns()[index].length, 510);
    EXPECT_EQ(table->Columns()[index].sort_order, 1033);
  }
  ASSERT_EQ(table->Definition().real_indexes.size(), 1u);
  EXPECT_TRUE(table->Definition().real_indexes[0].IsUnique());
  ASSERT_EQ(table->Definition().logical_indexes.size(), 1u);
  EXPECT_EQ(table->Definition().logical_indexes[0].kind, LogicalIndexKind::kPrimaryKey);
  EXPECT_TRUE(table->ReadAll().empty());

  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  EXPECT_EQ(report.tables_checked, 5u);
  EXPECT_EQ(report.indexes_checked, 3u);
}

TEST(JetCreate, OutsideReadersAcceptTheNewFile) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "new.mdb");
  ASSERT_TRUE(Database::Create(path));
  const std::string native = directory.NativePath("new.mdb");

  const std::optional<std::string> tables = testing::MdbTool("mdb-tables -1", native);
  const std::optional<std::string> csv = testing::MdbExport(native, "Server");
  const std::optional<std::string> schema =
      testing::MdbTool("mdb-schema --indexes", native, "postgres");
  if (tables && csv && schema) {
    EXPECT_EQ(*tables, "Server\n");
    EXPECT_EQ(*csv, Utf8(u"编号,服务器名,端口,用户名,密码,域,备注") + "\n");
    EXPECT_NE(schema->find("CREATE TABLE IF NOT EXISTS \"server\""), std::string::npos) << *schema;
    EXPECT_NE(schema->find("SERIAL"), std::string::npos) << *schema;
    EXPECT_NE(schema->find("PRIMARY KEY"), std::string::npos) << *schema;
  }
  const std::optional<std::string> json = testing::MdbReaderJson(native, "Server");
  if (json) {
    EXPECT_EQ(*json, "{\"tables\":[\"Server\"],\"rows\":[]}");
  }
  if (!(tables && csv && schema) && !json) {
    GTEST_SKIP() << "no outside reader available";
  }
}

}  // namespace
}  // namespace lumora::jet
