// Servers stored in bulk as one change (lumoractl's import): stopped after any disk operation, as
// a kill or a power cut would stop it, or by a write failing on the way, the catalogue holds
// either every server it held before or exactly the new set, never part of it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/server_store.h"
#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/record_set.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::catalogue {
namespace {

using testing_support::ServerRow;

constexpr int kImported = 300;

std::vector<std::string> Names(const Text& path) {
  std::vector<std::string> names;
  for (const ServerRecord& server : testing_support::StoredServers(path)) {
    names.push_back(server.server_name + "/" + server.port);
  }
  return names;
}

// The rows an import hands on: 10.0.N.1 with a password, then the end (or, for `abandon`, word
// that none may be stored).
ServerSource Rows(int& given, bool abandon = false) {
  return [&given, abandon](ServerRecord& server) {
    if (given == kImported) {
      return abandon ? values::RowSupply::kAbandon : values::RowSupply::kEnd;
    }
    ++given;
    server = {.server_name = "10.0." + std::to_string(given) + ".1",
              .port = "3389",
              .user_name = "admin",
              .password = "secret-" + std::to_string(given)};
    return values::RowSupply::kRow;
  };
}

// Whether the stored servers are replaced, whether the new pages spill out of memory, and whether
// the write a stop falls in is torn in half.
class StoreServersTest : public ::testing::TestWithParam<std::tuple<bool, bool, bool>> {
 protected:
  void TearDown() override {
    jet::testing::StopDiskWritesAfter(std::nullopt);
    jet::testing::HoldPendingBytesInMemory(std::nullopt);
  }
};

TEST_P(StoreServersTest, StoppedAnywhereTheCatalogueHoldsAllOrNoneOfTheNewServers) {
  const auto [replace, spill, tear] = GetParam();
  testing_support::TempDirectory directory;
  const Text path = jet::testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(
      path, {ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")}));
  const Bytes sound = jet::testing::ReadWholeFile(path);
  const std::vector<std::string> before = Names(path);
  std::vector<std::string> after = replace ? std::vector<std::string>() : before;
  for (int row = 1; row <= kImported; ++row) {
    after.push_back("10.0." + std::to_string(row) + ".1/3389");
  }
  jet::testing::HoldPendingBytesInMemory(spill ? std::optional<std::size_t>(8192) : std::nullopt);
  bool stored = false;
  for (int cut = 0; cut < 400 && !stored; ++cut) {
    SCOPED_TRACE(cut);
    ASSERT_TRUE(jet::testing::WriteWholeFile(path, sound));
    {
      services::DBConnection connection;
      services::RecordSet records;
      ASSERT_TRUE(connection.OpenAccess(path, "") && records.SetConnection(connection));
      int given = 0;
      // As a disk filling up on the way would stop it; the user is told so.
      jet::testing::StopDiskWritesAfter(cut, tear, platform::FileError::kDiskFull);
      stored = StoreServers(connection, records, replace, Rows(given)).has_value();
      jet::testing::StopDiskWritesAfter(std::nullopt);
      EXPECT_EQ(connection.Report().error,
                stored ? platform::FileError::kNone : platform::FileError::kDiskFull);
    }
    EXPECT_EQ(Names(path), stored ? after : before);
    EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
    EXPECT_FALSE(directory.Contains("mstsc.mdb-spill"));
    const std::optional<jet::Database> database = jet::Database::Open(path);
    ASSERT_TRUE(database.has_value());
    EXPECT_TRUE(database->Check().Ok());
  }
  EXPECT_TRUE(stored);
}

INSTANTIATE_TEST_SUITE_P(AddOrReplace, StoreServersTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()));

// A source that ends by abandoning its rows (a refused row without --skip-bad) stores none.
TEST(StoreServersAbandonTest, RowsTheSourceAbandonsAreNotStored) {
  testing_support::TempDirectory directory;
  const Text path = jet::testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  const Bytes sound = jet::testing::ReadWholeFile(path);
  for (const bool replace : {false, true}) {
    services::DBConnection connection;
    services::RecordSet records;
    ASSERT_TRUE(connection.OpenAccess(path, "") && records.SetConnection(connection));
    int given = 0;
    EXPECT_FALSE(StoreServers(connection, records, replace, Rows(given, true)).has_value());
    EXPECT_EQ(given, kImported);
    EXPECT_EQ(jet::testing::ReadWholeFile(path), sound);
  }
}

}  // namespace
}  // namespace lumora::catalogue
