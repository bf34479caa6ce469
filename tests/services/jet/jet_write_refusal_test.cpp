// A write refused on a damaged file says which check refused it, and where, and leaves the file
// as it was; a write that goes through leaves no reason behind.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "services/jet/data_page.h"
#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing_support::ServerRow;

constexpr std::size_t kPage = 4096;
// A new catalogue keeps its usage maps on page 6; row 10 lists the pages of table Server.
constexpr std::size_t kMapsPage = 6;
constexpr std::size_t kServerPagesMap = 10;

struct RefusedWrite {
  const char* name;
  // Spoils the file's bytes; `row` is where the first server is stored.
  std::function<void(Bytes& file, RowId row)> spoil;
  std::function<bool(Database& database, RowId row)> write;
  // The check expected to refuse; null: the write goes through.
  const char* check;
  const char* source_file;
};

bool ChangePort(Database& database, RowId row) {
  return database.UpdateRow("Server", row, {{"端口", "3390"}});
}

void NameAnotherOwner(Bytes& file, RowId row) {
  file[row.page * kPage + kDataPageOwnerOffset] ^= 0x01;
}

const RefusedWrite kWrites[] = {
    // After a refused write (a column the table lacks), one that goes through.
    {"SoundFile", [](Bytes&, RowId) {},
     [](Database& database, RowId row) {
       return !database.UpdateRow("Server", row, {{"颜色", "红"}}) && database.LastFailure() &&
              ChangePort(database, row);
     },
     nullptr, nullptr},
    {"UpdateOfARowOnAPageOfAnotherTable", NameAnotherOwner, ChangePort,
     "the row to change is not a live row of the table", "table_writer.cpp:"},
    {"DeleteOfARowOnAPageOfAnotherTable", NameAnotherOwner,
     [](Database& database, RowId row) { return database.DeleteRow("Server", row); },
     "the row to delete is not a live row of the table", "table_writer.cpp:"},
    {"InsertThroughAUsageMapOfAnUnknownKind",
     [](Bytes& file, RowId) {
       const std::optional<RowSlot> slot =
           ReadRowSlot(ByteView(file).subspan(kMapsPage * kPage, kPage), kServerPagesMap);
       ASSERT_TRUE(slot.has_value());
       file[kMapsPage * kPage + slot->start] = 0x07;
     },
     [](Database& database, RowId) {
       return database.InsertRow("Server", {{"服务器名", "127.0.0.9"}});
     },
     "a usage map is of a kind this engine does not know", "usage_map_writer.cpp:"},
};

class JetWriteRefusalTest : public ::testing::TestWithParam<RefusedWrite> {};

TEST_P(JetWriteRefusalTest, SaysWhichCheckRefusedAndWritesNothing) {
  const RefusedWrite& write = GetParam();
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  RowId row;
  {
    const std::optional<Database> database = Database::Open(path);
    ASSERT_TRUE(database.has_value());
    const std::optional<TableReader> table = database->OpenTable("Server");
    ASSERT_TRUE(table.has_value());
    const std::vector<Row> rows = table->ReadAll();
    ASSERT_EQ(rows.size(), 1u);
    row = rows.front().id;
  }
  Bytes bytes = testing::ReadWholeFile(path);
  write.spoil(bytes, row);
  ASSERT_TRUE(testing::WriteWholeFile(path, bytes));

  std::optional<Database> database = Database::Open(path, false);
  ASSERT_TRUE(database.has_value());
  const bool written = write.write(*database, row);
  if (write.check == nullptr) {
    EXPECT_TRUE(written);
    EXPECT_FALSE(database->LastFailure());
    return;
  }
  EXPECT_FALSE(written);
  ASSERT_TRUE(database->LastFailure());
  EXPECT_STREQ(database->LastFailure().check, write.check);
  EXPECT_NE(FailureText(database->LastFailure()).find(write.source_file), std::string::npos)
      << FailureText(database->LastFailure());
  database.reset();
  EXPECT_TRUE(testing::ReadWholeFile(path) == bytes) << "the refused write changed the file";
}

INSTANTIATE_TEST_SUITE_P(Writes, JetWriteRefusalTest, ::testing::ValuesIn(kWrites),
                         [](const ::testing::TestParamInfo<RefusedWrite>& write) {
                           return std::string(write.param.name);
                         });

}  // namespace
}  // namespace lumora::jet
