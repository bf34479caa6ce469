#include "status/ip_locator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/program_directory.h"
#include "status/location_database_builder.h"
#include "status/location_text.h"
#include "support/temp_directory.h"

namespace lumora::status {
namespace {

using testing::LocationDatabaseBuilder;
using testing::WriteFile;

class IpLocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_directory_ = ProgramDirectory();
    SetProgramDirectory(directory_.Path());
  }
  void TearDown() override { SetProgramDirectory(saved_directory_); }

  // Writes `bytes` as the program's QQWry.dat.
  void Install(const std::string& bytes, const std::string& name = "QQWry.dat") {
    WriteFile(directory_.NativePath(name), bytes);
  }

  Text LookupIn(const std::string& bytes, std::string_view address) {
    Install(bytes);
    IpLocator locator;
    return locator.Lookup(address);
  }

  Location FindIn(const std::string& bytes, std::string_view address) {
    Install(bytes);
    IpLocator locator;
    return locator.Find(address);
  }

  lumora::testing_support::TempDirectory directory_;
  Text saved_directory_;
};

// One record for 1.0.0.0 to 1.255.255.255 whose location part the test lays out.
template <typename LayOut>
std::string OneRecord(LayOut lay_out) {
  LocationDatabaseBuilder db;
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  lay_out(db, record);
  db.Index(0x01000000, record);
  return db.Finish();
}

TEST_F(IpLocatorTest, DirectLocationGivesCountryThenArea) {
  const std::string file = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("中国");
    db.Text("北京市");
  });
  EXPECT_EQ(LookupIn(file, "1.2.3.4"), "中国北京市");
  const Location raw = FindIn(file, "1.2.3.4");
  EXPECT_EQ(raw.country, "中国");
  EXPECT_EQ(raw.area, "北京市");
}

TEST_F(IpLocatorTest, WholeLocationElsewhereWithPlainCountry) {
  const std::string file = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t record) {
    const std::uint32_t redirect = db.Redirect(1, 0);
    const std::uint32_t target = db.Text("日本");
    db.Text("东京都");
    db.Patch(redirect + 1, target, 3);
    (void)record;
  });
  EXPECT_EQ(LookupIn(file, "1.0.0.0"), "日本东京都");
}

TEST_F(IpLocatorTest, WholeLocationElsewhereFollowsACountryRedirection) {
  // Mode 1 to a target that starts with 0x02: the country comes from the second redirection,
  // the area from the target + 4, not from after the country text.
  LocationDatabaseBuilder db;
  const std::uint32_t country = db.Text("美国");
  db.Text("不是这个地区");
  const std::uint32_t target = db.Redirect(2, country);
  db.Text("加利福尼亚州");
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  db.Redirect(1, target);
  db.Index(0x01000000, record);
  const std::string file = db.Finish();
  EXPECT_EQ(LookupIn(file, "1.1.1.1"), "美国加利福尼亚州");
}

TEST_F(IpLocatorTest, WholeLocationElsewhereDoesNotFollowASecondWholeRedirection) {
  // A 0x01 at the mode-1 target is the first character of the country text.
  LocationDatabaseBuilder db;
  const std::uint32_t target = db.Raw("\x01");
  db.Text("AB");
  db.Text("CD");
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  db.Redirect(1, target);
  db.Index(0x01000000, record);
  const Location raw = FindIn(db.Finish(), "1.1.1.1");
  EXPECT_EQ(raw.country, std::string("\x01"
                                     "AB"));
  EXPECT_EQ(raw.area, "CD");
}

TEST_F(IpLocatorTest, CountryElsewhereTakesTheAreaFromRecordPlusEight) {
  LocationDatabaseBuilder db;
  const std::uint32_t country = db.Text("英国");
  db.Text("伦敦");  // right after the country text, and never read for the area
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  db.Redirect(2, country);
  EXPECT_EQ(db.Here(), record + 8);
  db.Text("曼彻斯特");
  db.Index(0x01000000, record);
  EXPECT_EQ(LookupIn(db.Finish(), "1.1.1.1"), "英国曼彻斯特");
}

TEST_F(IpLocatorTest, CountryElsewhereAfterAWholeRedirectionUsesTargetPlusFour) {
  LocationDatabaseBuilder db;
  const std::uint32_t country = db.Text("法国");
  const std::uint32_t area = db.Text("巴黎");
  const std::uint32_t target = db.Redirect(2, country);
  db.Redirect(1, area);  // the area part at target + 4 redirects in turn
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  db.Redirect(1, target);
  db.Index(0x01000000, record);
  EXPECT_EQ(LookupIn(db.Finish(), "1.1.1.1"), "法国巴黎");
}

TEST_F(IpLocatorTest, AreaPartKinds) {
  struct Case {
    std::uint8_t kind;
    const char* expected;
  };
  for (const Case& c : {Case{0, ""}, Case{1, "地区"}, Case{2, "地区"}}) {
    LocationDatabaseBuilder db;
    const std::uint32_t area = db.Text("地区");
    const std::uint32_t record = db.Number4(0x01FFFFFF);
    db.Text("国家");
    if (c.kind == 0) {
      db.Byte(0);
      db.Text("不读");
    } else {
      db.Redirect(c.kind, area);
    }
    db.Index(0x01000000, record);
    const Location raw = FindIn(db.Finish(), "1.1.1.1");
    EXPECT_EQ(raw.country, "国家") << int{c.kind};
    EXPECT_EQ(raw.area, c.expected) << int{c.kind};
  }
}

TEST_F(IpLocatorTest, AreaRedirectionToOffsetZeroReadsTheHeader) {
  LocationDatabaseBuilder db;
  const std::uint32_t record = db.Number4(0x01FFFFFF);
  db.Text("国家");
  db.Redirect(2, 0);
  db.Index(0x01000000, record);
  const std::string file = db.Finish();
  const Location raw = FindIn(file, "1.1.1.1");
  // The header's first index offset, up to its first zero byte.
  EXPECT_EQ(raw.area, std::string(file.data(), std::string(file.data()).size()));
  EXPECT_FALSE(raw.area.empty());
}

TEST_F(IpLocatorTest, ModeByteZeroIsAnEmptyCountryText) {
  // Any byte other than 1 and 2 is the country text's first character; a zero ends the text
  // there, and the area still follows the bytes up to the next zero.
  const Location raw = FindIn(OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
                                db.Byte(0);
                                db.Text("XY");
                                db.Text("区");
                              }),
                              "1.1.1.1");
  EXPECT_EQ(raw.country, "");
  EXPECT_EQ(raw.area, "区");
}

TEST_F(IpLocatorTest, UnknownAddressCountryDropsTheArea) {
  const std::string file = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("某地未知IP段");
    db.Text("地区");
  });
  EXPECT_EQ(LookupIn(file, "1.1.1.1"), "未知");
  const std::string coral = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("珊瑚虫版IP数据库");
    db.Text("2008年");
  });
  EXPECT_EQ(LookupIn(coral, "1.1.1.1"), "未知");
}

TEST_F(IpLocatorTest, UnknownMarkerMatchesOnlyWhereACharacterStarts) {
  // A lead byte in front puts "未知IP" one byte late: its first byte becomes the second half of
  // a double-byte character, so the text does not contain it.
  std::string country;
  country += static_cast<char>(0xB0);
  country += "未知IP";
  const std::string file = OneRecord([&](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text(country);
    db.Text("区");
  });
  EXPECT_EQ(LookupIn(file, "1.1.1.1"), country + "区");
}

TEST_F(IpLocatorTest, MarkerCountryAndAreaStandForNone) {
  const std::string marker(kLocationMarker);
  auto with = [&](const std::string& country, const std::string& area) {
    return OneRecord([&](LocationDatabaseBuilder& db, std::uint32_t) {
      db.Text(country);
      db.Text(area);
    });
  };
  EXPECT_EQ(LookupIn(with(marker, "地区"), "1.1.1.1"), "未知地区");
  EXPECT_EQ(LookupIn(with("本机地址", marker), "1.1.1.1"), "本机地址");
  EXPECT_EQ(LookupIn(with(marker, marker), "1.1.1.1"), "未知");
  // Only an exact match counts.
  EXPECT_EQ(LookupIn(with("本机地址", marker + "X"), "1.1.1.1"), "本机地址" + marker + "X");
  EXPECT_EQ(LookupIn(with("CZ88.NET", "区"), "1.1.1.1"), "CZ88.NET区");
  // The raw texts keep the marker.
  EXPECT_EQ(FindIn(with("本机地址", marker), "1.1.1.1").area, marker);
}

// Index records 0..2 for 0.x.x.x, 1.x.x.x and 2.x.x.x, each with its own country text.
std::string ThreeRanges() {
  LocationDatabaseBuilder db;
  const char* names[] = {"零", "一", "二"};
  std::uint32_t records[3];
  for (std::uint32_t i = 0; i < 3; ++i) {
    records[i] = db.DirectRecord((i << 24) | 0x00FFFFFF, names[i], "");
  }
  for (std::uint32_t i = 0; i < 3; ++i) {
    db.Index(i << 24, records[i]);
  }
  return db.Finish();
}

TEST_F(IpLocatorTest, SearchFindsTheRangeOfEachAddress) {
  Install(ThreeRanges());
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("0.0.0.0"), "零");
  EXPECT_EQ(locator.Lookup("0.255.255.255"), "零");
  EXPECT_EQ(locator.Lookup("1.0.0.0"), "一");
  EXPECT_EQ(locator.Lookup("1.128.0.1"), "一");
  EXPECT_EQ(locator.Lookup("2.255.255.255"), "二");
}

TEST_F(IpLocatorTest, AddressesOutsideEveryRecordGiveTheLastIndexRecord) {
  Install(ThreeRanges());
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("3.0.0.0"), "二");
  EXPECT_EQ(locator.Lookup("0.0.0.256"), "零");  // 256 is still inside 0.x.x.x
  EXPECT_EQ(locator.Lookup("300.0.0.0"), "二");
  EXPECT_EQ(locator.Lookup("-1.0.0.0"), "二");
  EXPECT_EQ(locator.Lookup("0.0.0.-1"), "二");
}

TEST_F(IpLocatorTest, TextsThatAreNotFourPiecesAreAddressZero) {
  Install(ThreeRanges());
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("server.example.com"), "零");
  EXPECT_EQ(locator.Lookup("localhost"), "零");
  EXPECT_EQ(locator.Lookup(""), "零");
  EXPECT_EQ(locator.Lookup("1.2.3.4.5"), "零");
}

TEST_F(IpLocatorTest, SearchProbesTheUpperMiddleFirst) {
  // Two overlapping records both hold the address: the one probed first wins. With two
  // records the upper middle is index 1.
  LocationDatabaseBuilder db;
  const std::uint32_t lower = db.DirectRecord(0xFFFFFFFF, "下", "");
  const std::uint32_t upper = db.DirectRecord(0xFFFFFFFF, "上", "");
  db.Index(0, lower);
  db.Index(0, upper);
  EXPECT_EQ(LookupIn(db.Finish(), "9.9.9.9"), "上");

  // Four records (0..3): the first probe is 2, not 1.
  LocationDatabaseBuilder four;
  std::uint32_t records[4];
  const char* names[] = {"甲", "乙", "丙", "丁"};
  for (int i = 0; i < 4; ++i) {
    records[i] = four.DirectRecord(0xFFFFFFFF, names[i], "");
  }
  for (int i = 0; i < 4; ++i) {
    four.Index(0, records[i]);
  }
  EXPECT_EQ(LookupIn(four.Finish(), "9.9.9.9"), "丙");
}

TEST_F(IpLocatorTest, QQWryWinsOverCoralWry) {
  const std::string qq = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("QQ");
    db.Text("");
  });
  const std::string coral = OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("Coral");
    db.Text("");
  });
  Install(coral, "CoralWry.dat");
  {
    IpLocator locator;
    EXPECT_EQ(locator.Lookup("1.1.1.1"), "Coral");
    EXPECT_TRUE(locator.IsOpen());
  }
  Install(qq, "QQWry.dat");
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "QQ");
}

TEST_F(IpLocatorTest, ADirectoryNamedQQWryIsPassedOver) {
  std::filesystem::create_directory(directory_.NativePath("QQWry.dat"));
  Install(OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
            db.Text("Coral");
            db.Text("");
          }),
          "CoralWry.dat");
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "Coral");
}

TEST_F(IpLocatorTest, WithoutADatabaseEveryLookupIsEmptyAndTriesAgain) {
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "");
  EXPECT_EQ(locator.Lookup("8.8.8.8"), "");
  EXPECT_FALSE(locator.IsOpen());
  EXPECT_EQ(locator.Find("1.1.1.1").country, "");
  Install(OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("中国");
    db.Text("");
  }));
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "中国");
  EXPECT_TRUE(locator.IsOpen());
}

TEST_F(IpLocatorTest, OpenReportsWhetherAFileOpened) {
  IpLocator locator;
  EXPECT_FALSE(locator.Open(directory_.Path() + "\\absent.dat"));
  EXPECT_FALSE(locator.Open(directory_.Path()));
  Install("", "empty.dat");
  EXPECT_TRUE(locator.Open(directory_.Path() + "\\empty.dat"));
  EXPECT_TRUE(locator.IsOpen());
  locator.Close();
  EXPECT_FALSE(locator.IsOpen());
}

TEST_F(IpLocatorTest, TheOpenDatabaseIsKeptWhenTheFileChanges) {
  Install(OneRecord([](LocationDatabaseBuilder& db, std::uint32_t) {
    db.Text("旧");
    db.Text("");
  }));
  IpLocator locator;
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "旧");
  std::filesystem::remove(directory_.NativePath("QQWry.dat"));
  EXPECT_EQ(locator.Lookup("1.1.1.1"), "旧");
}

}  // namespace
}  // namespace lumora::status
