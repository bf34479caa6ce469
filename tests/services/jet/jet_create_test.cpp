#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>

#include "platform/files.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;
using testing::Utf8;

// Five rows added to a file being created, as `catalogue create --demo` adds its servers.
bool AddFiveRows(const Text& building) {
  std::optional<Database> database = Database::Open(building, false);
  int row = 0;
  return database && database->InsertRows("Server", [&row](RowValues& values) {
    if (++row > 5) {
      return RowSupply::kEnd;
    }
    values = {{"服务器名", "127.0.0." + std::to_string(row)}};
    return RowSupply::kRow;
  }) == 5u;
}

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

// What a create puts into the new file (the demo servers) is there whole when the file takes its
// name: stopped anywhere on the way, no file is there at all.
TEST(JetCreate, AFileFilledBeforeItsNameIsWholeOrAbsent) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "new.mdb");
  bool created = false;
  for (int allowed = 0; !created; ++allowed) {
    ASSERT_LT(allowed, 100);
    created = Database::Create(path, [allowed](const Text& building) {
      testing::StopDiskWritesAfter(allowed);
      const bool filled = AddFiveRows(building);
      testing::StopDiskWritesAfter(std::nullopt);
      return filled;
    });
    const std::optional<Database> database = Database::Open(path);
    ASSERT_EQ(database.has_value(), created);
    if (created) {
      EXPECT_EQ(database->OpenTable("Server")->ReadAll().size(), 5u);
    }
  }
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

#ifndef _WIN32
// Two programs creating the same catalogue at the same moment: one of them makes it, whole, the
// other is told it exists.
TEST(JetCreate, OfTwoCreatesAtOnceOneSucceeds) {
  for (int trial = 0; trial < 20; ++trial) {
    SCOPED_TRACE(trial);
    testing_support::TempDirectory directory;
    const Text path = FileIn(directory, "new.mdb");
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (pid_t& child : children) {
      child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        char go = 0;
        ::close(start[1]);
        // The end of the pipe's data, once the parent has closed it, is the start.
        const bool started = ::read(start[0], &go, 1) == 0;
        ::_exit(started && Database::Create(path, AddFiveRows) ? 0 : 1);
      }
    }
    ::close(start[0]);
    // Both wait on the pipe; closing it starts them together.
    ::close(start[1]);
    int succeeded = 0;
    for (const pid_t child : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      succeeded += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
    }
    EXPECT_EQ(succeeded, 1);
    const std::optional<Database> database = Database::Open(path);
    ASSERT_TRUE(database.has_value());
    EXPECT_EQ(database->OpenTable("Server")->ReadAll().size(), 5u);
    EXPECT_TRUE(database->Check().Ok());
    EXPECT_TRUE(platform::FindFiles(path + ".creating*").empty());
  }
}
#endif

}  // namespace
}  // namespace lumora::jet
