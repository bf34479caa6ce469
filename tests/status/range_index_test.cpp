// The shortcut for an index in order must find what the upper-middle binary search finds.
#include "status/range_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "status/database_image.h"
#include "status/ip_locator.h"
#include "status/location_database_builder.h"
#include "support/temp_directory.h"

namespace lumora::status {
namespace {

using testing::LocationDatabaseBuilder;

std::uint32_t Number(const std::string& bytes, std::uint64_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    const std::uint64_t offset = at + static_cast<std::uint64_t>(i);
    value = (value << 8) | (offset < bytes.size() ? static_cast<unsigned char>(bytes[offset]) : 0);
  }
  return value;
}

// The search probe by probe, straight from the file's bytes: the index record it ends at.
std::uint64_t ProbingSearch(const std::string& bytes, std::int64_t address) {
  const std::uint32_t first = Number(bytes, 0, 4);
  const std::uint32_t last = Number(bytes, 4, 4);
  std::int64_t low = 0;
  std::int64_t high = (static_cast<std::int64_t>(last) - first) / 7;
  while (low <= high) {
    const std::int64_t mid = (low + high + 1) / 2;
    const std::uint64_t at = first + 7 * static_cast<std::uint64_t>(mid);
    if (address < static_cast<std::int64_t>(Number(bytes, at, 4))) {
      high = mid - 1;
    } else if (address > static_cast<std::int64_t>(Number(bytes, Number(bytes, at + 4, 3), 4))) {
      low = mid + 1;
    } else {
      return at;
    }
  }
  return last;
}

struct Database {
  std::string bytes;
  std::vector<std::uint32_t> starts;
  std::vector<std::uint32_t> ends;
};

// `count` records in order with random gaps; each record's country text is its number.
Database OrderedDatabase(std::mt19937& random, int count, bool overlap_one) {
  Database db;
  LocationDatabaseBuilder builder;
  std::uint64_t next = random() % 3 == 0 ? 0 : random() % 100000;
  std::vector<std::uint32_t> records;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t span = 1 + random() % (std::uint64_t{1} << (random() % 28));
    const std::uint64_t start = std::min<std::uint64_t>(next, 0xFFFFFFFFu);
    const std::uint64_t end = std::min<std::uint64_t>(start + span - 1, 0xFFFFFFFFu);
    db.starts.push_back(static_cast<std::uint32_t>(start));
    db.ends.push_back(static_cast<std::uint32_t>(end));
    next = end + 1 + (random() % 2 == 0 ? 0 : random() % (std::uint64_t{1} << (random() % 24)));
  }
  if (overlap_one && count >= 2) {
    const std::size_t i = random() % static_cast<std::size_t>(count - 1);
    db.ends[i] = db.starts[i + 1];  // touches the next range: no longer in order
  }
  for (int i = 0; i < count; ++i) {
    records.push_back(
        builder.DirectRecord(db.ends[static_cast<std::size_t>(i)], std::to_string(i), ""));
  }
  for (int i = 0; i < count; ++i) {
    builder.Index(db.starts[static_cast<std::size_t>(i)], records[static_cast<std::size_t>(i)]);
  }
  db.bytes = builder.Finish();
  return db;
}

TEST(RangeIndexTest, FindsWhatTheProbingSearchFinds) {
  testing_support::TempDirectory directory;
  std::mt19937 random(99);
  for (int round = 0; round < 60; ++round) {
    const int count = 1 + static_cast<int>(random() % 40);
    const Database db = OrderedDatabase(random, count, round % 3 == 2);
    const std::string name = "db" + std::to_string(round) + ".dat";
    testing::WriteFile(directory.NativePath(name), db.bytes);

    platform::SharedReadFile file;
    ASSERT_TRUE(file.Open(directory.Path() + "\\" + name));
    DatabaseImage image;
    ASSERT_TRUE(image.Load(std::move(file)));
    RangeIndex index;
    const bool usable = index.Build(image, Number(db.bytes, 0, 4), static_cast<std::size_t>(count));
    EXPECT_EQ(usable, round % 3 != 2 || count < 2) << round;

    IpLocator locator;
    ASSERT_TRUE(locator.Open(directory.Path() + "\\" + name));
    std::vector<std::int64_t> addresses = {0,         -1,       0xFFFFFFFFll, 0x100000000ll,
                                           INT64_MIN, INT64_MAX};
    for (int i = 0; i < count; ++i) {
      for (const std::int64_t edge : {std::int64_t{db.starts[static_cast<std::size_t>(i)]},
                                      std::int64_t{db.ends[static_cast<std::size_t>(i)]}}) {
        addresses.insert(addresses.end(), {edge - 1, edge, edge + 1});
      }
    }
    for (int i = 0; i < 200; ++i) {
      addresses.push_back(random());
    }
    for (const std::int64_t address : addresses) {
      const std::uint64_t expected_at = ProbingSearch(db.bytes, address);
      const std::size_t expected_record =
          static_cast<std::size_t>((expected_at - Number(db.bytes, 0, 4)) / 7);
      if (usable) {
        const std::int64_t found = index.Find(address);
        const std::int64_t last = count - 1;
        EXPECT_EQ(found < 0 ? last : found, static_cast<std::int64_t>(expected_record))
            << round << " " << address;
      }
      if (address >= 0 && address <= 0xFFFFFFFFll) {
        const std::uint32_t value = static_cast<std::uint32_t>(address);
        const std::string text =
            std::to_string(value >> 24) + "." + std::to_string((value >> 16) & 0xFF) + "." +
            std::to_string((value >> 8) & 0xFF) + "." + std::to_string(value & 0xFF);
        EXPECT_EQ(locator.Find(text).country, std::to_string(expected_record))
            << round << " " << text;
      }
    }
  }
}

TEST(RangeIndexTest, RefusesAnIndexOutOfOrder) {
  testing_support::TempDirectory directory;
  LocationDatabaseBuilder builder;
  const std::uint32_t a = builder.DirectRecord(100, "a", "");
  const std::uint32_t b = builder.DirectRecord(50, "b", "");  // ends before it starts
  builder.Index(0, a);
  builder.Index(60, b);
  const std::string bytes = builder.Finish();
  testing::WriteFile(directory.NativePath("db.dat"), bytes);
  platform::SharedReadFile file;
  ASSERT_TRUE(file.Open(directory.Path() + "\\db.dat"));
  DatabaseImage image;
  ASSERT_TRUE(image.Load(std::move(file)));
  RangeIndex index;
  EXPECT_FALSE(index.Build(image, Number(bytes, 0, 4), 2));
  EXPECT_FALSE(index.Usable());
  // An index that reaches past what memory holds is refused as well.
  EXPECT_FALSE(index.Build(image, Number(bytes, 0, 4), 3));
}

}  // namespace
}  // namespace lumora::status
