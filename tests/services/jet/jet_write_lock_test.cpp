#include <gtest/gtest.h>

#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;

TEST(JetWriteLock, SecondWriterIsRefusedWhileReadersMayRead) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "locked.mdb");
  ASSERT_TRUE(Database::Create(path));
  {
    std::optional<Database> writer = Database::Open(path, /*read_only=*/false);
    ASSERT_TRUE(writer.has_value());
    ASSERT_TRUE(writer->InsertRow("Server", {{"服务器名", Text("a")}}));

    EXPECT_FALSE(Database::Open(path, /*read_only=*/false).has_value());
    EXPECT_FALSE(Database::Create(path));
    const std::optional<Database> reader = Database::Open(path);
    ASSERT_TRUE(reader.has_value());
    EXPECT_EQ(reader->OpenTable("Server")->ReadAll().size(), 1u);
  }
  // The lock goes with the writer.
  std::optional<Database> next = Database::Open(path, /*read_only=*/false);
  ASSERT_TRUE(next.has_value());
  EXPECT_TRUE(next->InsertRow("Server", {{"服务器名", Text("b")}}));
  EXPECT_EQ(next->OpenTable("Server")->ReadAll().size(), 2u);
}

TEST(JetWriteLock, CreateRefusesAnExistingFile) {
  testing_support::TempDirectory directory;
  ASSERT_TRUE(testing::WriteWholeFile(directory.NativePath("taken.mdb"), Bytes{1, 2, 3}));
  EXPECT_FALSE(Database::Create(FileIn(directory, "taken.mdb")));
  EXPECT_EQ(testing::ReadWholeFile(directory.NativePath("taken.mdb")), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace lumora::jet
