// Damaged and hostile files: every operation gives false or an empty result, never a crash or
// a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "services/jet/database.h"
#include "services/jet/jet_read_all.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/rc4_mask.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FixtureDirectory;
using testing::FixturePath;
using testing::ReadEverything;
using testing::ReadWholeFile;
using testing::WriteWholeFile;
using testing_support::TempDirectory;

constexpr std::size_t kPage = 4096;

std::optional<Database> OpenBytes(const Bytes& bytes) {
  return Database::Open(MemorySource(bytes));
}

void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  for (int index = 0; index < 4; ++index) {
    bytes[offset + index] = static_cast<std::uint8_t>(value >> (8 * index));
  }
}

TEST(JetHostileInput, EmptyZeroAndRandomFilesAreRefused) {
  EXPECT_FALSE(OpenBytes({}).has_value());
  EXPECT_FALSE(OpenBytes(Bytes(10 * kPage, 0)).has_value());
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    Bytes bytes(kPage * (1 + round % 5));
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(random()); });
    EXPECT_FALSE(OpenBytes(bytes).has_value());
  }
}

TEST(JetHostileInput, TruncatedCopiesOpenOrFailCleanly) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  const Bytes whole = ReadWholeFile(FixturePath("testUnicodeCompV2003.mdb"));
  ASSERT_GT(whole.size(), 60 * kPage);
  const TempDirectory directory;
  const std::string path = directory.NativePath("cut.mdb");
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{100}, kPage - 1, kPage, 2 * kPage, 3 * kPage + 17, 54 * kPage,
        55 * kPage, whole.size() / 2, whole.size() - 1}) {
    ASSERT_TRUE(WriteWholeFile(path, Bytes(whole.begin(), whole.begin() + size)));
    const std::optional<Database> database = Database::Open(path);
    if (size < 3 * kPage) {
      EXPECT_FALSE(database.has_value()) << size;
    }
    if (database) {
      ReadEverything(*database);
      const std::optional<TableReader> table = database->OpenTable("Table");
      // The table's rows live on page 55: a copy cut before it has none of them.
      if (table && size <= 55 * kPage) {
        EXPECT_TRUE(table->ReadAll().empty()) << size;
      }
    }
  }
}

TEST(JetHostileInput, DefinitionChainCycleIsRefused) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  Bytes bytes = ReadWholeFile(FixturePath("testUnicodeCompV2003.mdb"));
  ASSERT_TRUE(OpenBytes(bytes)->OpenTable("Table").has_value());
  // The table's definition (page 53) continues on itself.
  PutU32(bytes, 53 * kPage + 4, 53);
  const std::optional<Database> database = OpenBytes(bytes);
  ASSERT_TRUE(database.has_value());
  EXPECT_FALSE(database->OpenTable("Table").has_value());
  // Two pages pointing at each other: the catalog's own definition and page 53.
  PutU32(bytes, 2 * kPage + 4, 53);
  PutU32(bytes, 53 * kPage + 4, 2);
  EXPECT_FALSE(OpenBytes(bytes).has_value());
}

TEST(JetHostileInput, OverflowPointerCycleSkipsTheRow) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  Bytes bytes = ReadWholeFile(FixturePath("testUnicodeCompV2003.mdb"));
  const std::size_t before = OpenBytes(bytes)->OpenTable("Table")->ReadAll().size();
  ASSERT_EQ(before, 8u);
  // Row 0 of page 55 becomes a pointer to itself.
  const std::size_t page = 55 * kPage;
  const std::size_t slot = page + 14;
  const std::size_t start = (bytes[slot] | (bytes[slot + 1] << 8)) & 0x1FFF;
  bytes[slot + 1] |= 0x40;
  bytes[page + start] = 0;
  PutU32(bytes, page + start, 55u << 8);
  const std::vector<Row> rows = OpenBytes(bytes)->OpenTable("Table")->ReadAll();
  EXPECT_EQ(rows.size(), before - 1);
}

TEST(JetHostileInput, UsageMapPointingEverywhereReadsOnlyOwnedPages) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  Bytes bytes = ReadWholeFile(FixturePath("testUnicodeCompV2003.mdb"));
  const std::optional<Database> original = OpenBytes(bytes);
  const TableDefinition definition = original->OpenTable("Table")->Definition();
  // Set every bit of the table's inline owned-pages map, starting at page 0.
  Bytes map_page(bytes.begin() + definition.owned_pages.page * kPage,
                 bytes.begin() + (definition.owned_pages.page + 1) * kPage);
  const std::optional<RowSlot> slot = ReadRowSlot(map_page, definition.owned_pages.row);
  ASSERT_TRUE(slot.has_value());
  const std::size_t row = definition.owned_pages.page * kPage + slot->start;
  ASSERT_EQ(bytes[row], 0x00);
  PutU32(bytes, row + 1, 0);
  std::fill(bytes.begin() + row + 5,
            bytes.begin() + definition.owned_pages.page * kPage + slot->end, 0xFF);
  const std::optional<Database> patched = OpenBytes(bytes);
  ASSERT_TRUE(patched.has_value());
  EXPECT_EQ(patched->OpenTable("Table")->ReadAll().size(), 8u);
}

TEST(JetHostileInput, RandomDamageToARealFileNeverCrashes) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  const Bytes original = ReadWholeFile(FixturePath("V2000_with-password.mdb"));
  std::mt19937 random(12345);
  int opened = 0;
  for (int round = 0; round < 150; ++round) {
    Bytes bytes = original;
    const int changes = 1 + round % 40;
    for (int change = 0; change < changes; ++change) {
      // Mostly in the pages that matter: the catalog, the table and their maps.
      const std::size_t limit = round % 3 == 0 ? bytes.size() : 60 * kPage;
      bytes[random() % limit] = static_cast<std::uint8_t>(random());
    }
    if (const std::optional<Database> database = OpenBytes(bytes)) {
      ++opened;
      ReadEverything(*database);
    }
  }
  EXPECT_GT(opened, 0);
}

TEST(JetHostileInput, RandomPagesAfterARealHeader) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  const Bytes original = ReadWholeFile(FixturePath("empty.mdb"));
  std::mt19937 random(99);
  for (int round = 0; round < 40; ++round) {
    Bytes bytes(original.begin(), original.begin() + kPage);
    bytes.resize(kPage * (3 + round % 6));
    std::generate(bytes.begin() + kPage, bytes.end(),
                  [&] { return static_cast<std::uint8_t>(random() % 4 == 0 ? random() : 0); });
    // A plausible definition page at 2, so that parsing goes deeper than the first check.
    bytes[2 * kPage] = 0x02;
    bytes[2 * kPage + 1] = 0x01;
    if (const std::optional<Database> database = OpenBytes(bytes)) {
      ReadEverything(*database);
    }
  }
}

TEST(JetEncryptedPages, PagesEncryptedUnderTheDatabaseKeyReadAsTheOriginal) {
  if (!FixtureDirectory()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  const Bytes plain = ReadWholeFile(FixturePath("testUnicodeCompV2003.mdb"));
  Bytes encrypted = plain;
  constexpr std::uint32_t kKey = 0x5A3C9E11;
  // The key sits in the masked header region; the mask is a fixed keystream, so XORing the
  // key into the stored bytes sets it (the original key is 0).
  for (int index = 0; index < 4; ++index) {
    encrypted[0x3E + index] ^= static_cast<std::uint8_t>(kKey >> (8 * index));
  }
  for (std::uint32_t page = 1; page < encrypted.size() / kPage; ++page) {
    Rc4Xor(kKey ^ page, std::span(encrypted).subspan(page * kPage, kPage));
  }
  const std::optional<Database> database = OpenBytes(encrypted);
  ASSERT_TRUE(database.has_value());
  EXPECT_EQ(database->Info().database_key, kKey);
  const std::vector<Row> rows = database->OpenTable("Table")->ReadAll();
  const std::vector<Row> expected = OpenBytes(plain)->OpenTable("Table")->ReadAll();
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t index = 0; index < rows.size(); ++index) {
    EXPECT_EQ(rows[index].values, expected[index].values);
  }
}

}  // namespace
}  // namespace lumora::jet
