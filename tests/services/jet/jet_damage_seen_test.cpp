// The check sees damage the independent readers see: a catalogue with one page spoilt (zeroed,
// or filled with noise) that mdb-reader cannot read is never called safe to write.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "services/jet/consistency_check.h"
#include "services/jet/data_page.h"
#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
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

// Page references the file cannot honour: a usage map of table Server (on page 6 of a new
// catalogue: row 10 its pages, 11 its pages with room, 12 its key's pages) naming a page past the
// end, as a catalogue restored from a shorter copy has them. Readers would go looking for it, and
// a write would take it for a page it owns.
TEST(JetDamageSeen, UsageMapsNamingPagesPastTheEndFailTheCheck) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  const Bytes sound = testing::ReadWholeFile(path);
  constexpr std::size_t kPage = 4096;
  for (const std::size_t map_row : {10u, 11u, 12u}) {
    for (const std::uint32_t past : {1u, 40u}) {
      SCOPED_TRACE("map row " + std::to_string(map_row) + ", page " + std::to_string(past));
      Bytes spoilt = sound;
      const ByteView maps = ByteView(spoilt).subspan(6 * kPage, kPage);
      const std::optional<RowSlot> slot = ReadRowSlot(maps, map_row);
      ASSERT_TRUE(slot.has_value());
      const std::uint32_t page = static_cast<std::uint32_t>(sound.size() / kPage) - 1 + past;
      spoilt[6 * kPage + slot->start + 5 + page / 8] |= static_cast<std::uint8_t>(1u << (page % 8));
      ASSERT_TRUE(testing::WriteWholeFile(path, spoilt));
      const std::optional<Database> database = Database::Open(path);
      ASSERT_TRUE(database.has_value());
      const CheckReport report = database->Check();
      EXPECT_FALSE(report.SafeToWrite());
      ASSERT_FALSE(report.problems.empty());
      EXPECT_NE(report.problems.front().find("past the end"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace lumora::jet
