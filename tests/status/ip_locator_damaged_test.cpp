// Damaged, truncated and hostile database files: reads past the end give zeros, texts end at
// the end of the file, and every lookup finishes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "status/ip_locator.h"
#include "status/location_database_builder.h"
#include "support/temp_directory.h"

namespace lumora::status {
namespace {

using testing::LocationDatabaseBuilder;
using testing::WriteFile;

class IpLocatorDamagedTest : public ::testing::Test {
 protected:
  Location FindIn(const std::string& bytes, std::string_view address) {
    WriteFile(directory_.NativePath("db.dat"), bytes);
    IpLocator locator;
    EXPECT_TRUE(locator.Open(directory_.Path() + "\\db.dat"));
    return locator.Find(address);
  }

  lumora::testing_support::TempDirectory directory_;
};

std::string Number4(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) {
    bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return bytes;
}

TEST_F(IpLocatorDamagedTest, EmptyFileGivesEmptyTexts) {
  const Location found = FindIn("", "1.2.3.4");
  EXPECT_EQ(found.country, "");
  EXPECT_EQ(found.area, "");
}

TEST_F(IpLocatorDamagedTest, HeaderOnlyReadsZerosEverywhere) {
  // Index at 8, nothing there: the record offset reads 0, so the "record" is the header.
  const std::string header = Number4(8) + Number4(8);
  const Location found = FindIn(header, "0.0.0.0");
  // Record offset 0: mode byte at 4 is the low byte of the last index offset (8).
  EXPECT_EQ(found.country, std::string("\x08", 1));
  EXPECT_EQ(found.area, "");
}

TEST_F(IpLocatorDamagedTest, TextRunsToTheEndOfTheFile) {
  LocationDatabaseBuilder db;
  const std::uint32_t record = db.Number4(0xFFFFFFFF);
  db.Redirect(2, 0);  // patched below
  db.Text("");        // the area: empty
  db.Index(0, record);
  std::string file = db.Finish();
  const std::uint32_t country = static_cast<std::uint32_t>(file.size());
  file += "ABC";  // no terminating zero
  for (int i = 0; i < 3; ++i) {
    file[record + 5 + static_cast<std::uint32_t>(i)] =
        static_cast<char>((country >> (8 * i)) & 0xFF);
  }
  const Location found = FindIn(file, "5.5.5.5");
  EXPECT_EQ(found.country, "ABC");
  EXPECT_EQ(found.area, "");
}

TEST_F(IpLocatorDamagedTest, CountryAtTheEndLeavesNoArea) {
  // The direct country text is the last thing in the file, without its zero.
  LocationDatabaseBuilder db;
  db.Index(0, 0);  // patched: the record is laid out after the index
  std::string file = db.Finish();
  const std::uint32_t record = static_cast<std::uint32_t>(file.size());
  file += Number4(0xFFFFFFFF) + "XY";
  file[8 + 4] = static_cast<char>(record & 0xFF);
  file[8 + 5] = static_cast<char>((record >> 8) & 0xFF);
  file[8 + 6] = static_cast<char>((record >> 16) & 0xFF);
  const Location found = FindIn(file, "5.5.5.5");
  EXPECT_EQ(found.country, "XY");
  EXPECT_EQ(found.area, "");
}

TEST_F(IpLocatorDamagedTest, RedirectionsPastTheEndGiveEmptyTexts) {
  for (const std::uint8_t mode : {1, 2}) {
    LocationDatabaseBuilder db;
    const std::uint32_t record = db.Number4(0xFFFFFFFF);
    db.Redirect(mode, 0xFFFFFF);
    db.Redirect(2, 0xFFFFFF);  // an area part at record + 8 that points past the end
    db.Index(0, record);
    const Location found = FindIn(db.Finish(), "5.5.5.5");
    EXPECT_EQ(found.country, "") << int{mode};
    EXPECT_EQ(found.area, "") << int{mode};
  }
}

TEST_F(IpLocatorDamagedTest, RedirectionLoopsEnd) {
  // A mode-1 target that points at itself and areas that point at their own redirection.
  LocationDatabaseBuilder db;
  const std::uint32_t record = db.Number4(0xFFFFFFFF);
  const std::uint32_t self = db.Here();
  db.Redirect(1, self);
  db.Index(0, record);
  const Location found = FindIn(db.Finish(), "5.5.5.5");
  // The target's 0x01 is text: the bytes 01 <self> up to the first zero.
  ASSERT_FALSE(found.country.empty());
  EXPECT_EQ(found.country[0], '\x01');
}

TEST_F(IpLocatorDamagedTest, HugeIndexClaimOnATinyFileFinishes) {
  const std::string file = Number4(8) + Number4(0xFFFFFFFF) + "garbage";
  for (const char* address : {"0.0.0.0", "1.2.3.4", "255.255.255.255", "-5.0.0.0", "x"}) {
    const Location found = FindIn(file, address);
    EXPECT_LE(found.country.size(), file.size()) << address;
    EXPECT_LE(found.area.size(), file.size()) << address;
  }
}

TEST_F(IpLocatorDamagedTest, LastIndexBeforeFirstSearchesNothing) {
  // (last - first) / 7 is negative: no record is probed, the last index offset is used.
  LocationDatabaseBuilder db;
  const std::uint32_t record = db.DirectRecord(0xFFFFFFFF, "末", "");
  db.Index(0, record);
  std::string file = db.Finish();
  const std::uint32_t index = static_cast<std::uint32_t>(file.size()) - 7;
  file.replace(0, 8, Number4(index + 70) + Number4(index));
  EXPECT_EQ(FindIn(file, "5.5.5.5").country, "末");
}

TEST_F(IpLocatorDamagedTest, RandomFilesNeverTrapALookup) {
  std::mt19937 random(12345);
  const char* addresses[] = {"0.0.0.0", "1.2.3.4", "127.0.0.1", "255.255.255.255", "host"};
  for (int round = 0; round < 300; ++round) {
    std::string file(random() % 200, '\0');
    for (char& byte : file) {
      // Small values make short offsets, which point back into the file more often.
      byte = static_cast<char>(random() % 4 == 0 ? random() % 4 : random() % 256);
    }
    if (file.size() >= 8 && round % 2 == 0) {
      file.replace(0, 8, Number4(8) + Number4(static_cast<std::uint32_t>(file.size())));
    }
    WriteFile(directory_.NativePath("db.dat"), file);
    IpLocator locator;
    ASSERT_TRUE(locator.Open(directory_.Path() + "\\db.dat"));
    for (const char* address : addresses) {
      const Location found = locator.Find(address);
      EXPECT_LE(found.country.size(), file.size());
      EXPECT_LE(found.area.size(), file.size());
    }
  }
}

}  // namespace
}  // namespace lumora::status
