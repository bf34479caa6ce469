// The check sees damage the independent readers see: a catalogue with one page spoilt (zeroed,
// or filled with noise) that mdb-reader cannot read is never called safe to write.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "jet/jet_test_support.h"
#include "jet/jet_write_support.h"
#include "services/jet/consistency_check.h"
#include "services/jet/database.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing_support::ServerRow;

TEST(JetDamageSeen, APageMdbReaderCannotReadFailsTheCheck) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  const std::string file = directory.NativePath("mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(
      path, {ServerRow("127.0.0.1", "3389", "admin", "one"), ServerRow("127.0.0.2")}));
  if (!testing::MdbReaderJson(file, "Server")) {
    GTEST_SKIP() << "mdb-reader is not installed (build/node)";
  }
  const Bytes sound = testing::ReadWholeFile(file);
  constexpr std::size_t kPage = 4096;
  std::mt19937 random(20261209);
  int refusedByTheReader = 0;
  for (std::size_t page = 0; page < sound.size() / kPage; ++page) {
    for (const bool noise : {false, true}) {
      SCOPED_TRACE("page " + std::to_string(page) + (noise ? ", noise" : ", zeros"));
      Bytes spoilt = sound;
      for (std::size_t at = page * kPage; at < (page + 1) * kPage; ++at) {
        spoilt[at] = noise ? static_cast<std::uint8_t>(random()) : 0;
      }
      ASSERT_TRUE(testing::WriteWholeFile(file, spoilt));
      if (testing::MdbReaderJson(file, "Server")) {
        continue;
      }
      ++refusedByTheReader;
      const std::optional<Database> database = Database::Open(path);
      EXPECT_FALSE(database && database->Check().SafeToWrite());
    }
  }
  RecordProperty("refused_by_mdb_reader", refusedByTheReader);
  EXPECT_GT(refusedByTheReader, 0);
}

}  // namespace
}  // namespace lumora::jet
