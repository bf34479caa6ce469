#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::platform {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  Text Ini() const { return directory_.Path() + "\\config.ini"; }

  void WriteRaw(const std::string& bytes) const {
    testing_support::WriteBytes(directory_.NativePath("config.ini"), bytes);
  }

  std::string ReadRaw() const {
    return testing_support::ReadBytes(directory_.NativePath("config.ini"));
  }

  testing_support::TempDirectory directory_;
};

TEST_F(ProfileTest, WrittenValuesReadBack) {
  ASSERT_TRUE(WriteProfileText(Ini(), "Server", "Address", "192.168.1.10:3389"));
  ASSERT_TRUE(WriteProfileText(Ini(), "Server", "Port", "3389"));
  ASSERT_TRUE(WriteProfileText(Ini(), "Window", "Width", "800"));

  EXPECT_EQ(ReadProfileText(Ini(), "Server", "Address"), "192.168.1.10:3389");
  EXPECT_EQ(ReadProfileText(Ini(), "Server", "Port"), "3389");
  EXPECT_EQ(ReadProfileText(Ini(), "Window", "Width"), "800");
}

TEST_F(ProfileTest, NewFileHasSectionAndKeyWithWindowsLineEnds) {
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Key", "Value"));
  EXPECT_EQ(ReadRaw(), "[Main]\r\nKey=Value\r\n");
}

TEST_F(ProfileTest, MissingFileGivesFallback) {
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key", "fallback"), "fallback");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key"), "");
}

TEST_F(ProfileTest, MissingKeyGivesFallbackWhileEmptyValueGivesEmptyText) {
  WriteRaw("[Main]\r\nEmpty=\r\nNoEquals\r\n");
  const Text sentinel = "<missing>";

  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Empty", sentinel), "");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Absent", sentinel), sentinel);
  EXPECT_EQ(ReadProfileText(Ini(), "Other", "Empty", sentinel), sentinel);
  // A line without '=' names no value.
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "NoEquals", sentinel), sentinel);
}

TEST_F(ProfileTest, WrittenEmptyValueIsNotMissing) {
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Empty", ""));
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Empty", "<missing>"), "");
  EXPECT_EQ(ReadRaw(), "[Main]\r\nEmpty=\r\n");
}

TEST_F(ProfileTest, SectionsAndKeysIgnoreCase) {
  WriteRaw("[Settings]\r\nAutoRefresh=1\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "SETTINGS", "autorefresh"), "1");
  EXPECT_EQ(ReadProfileText(Ini(), "settings", "AUTOREFRESH"), "1");

  ASSERT_TRUE(WriteProfileText(Ini(), "sEtTiNgS", "AUTOREFRESH", "0"));
  EXPECT_EQ(ReadRaw(), "[Settings]\r\nAutoRefresh=0\r\n");
}

TEST_F(ProfileTest, CaseFoldingNeverJoinsDifferentChineseCharacters) {
  // The second bytes of these two characters differ only as 'A' and 'a' do.
  WriteRaw("[傾]\r\n名=一\r\n[僡]\r\n名=二\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "傾", "名"), "一");
  EXPECT_EQ(ReadProfileText(Ini(), "僡", "名"), "二");
}

TEST_F(ProfileTest, ReplacingAValueKeepsTheOtherLinesInOrder) {
  WriteRaw("[A]\r\nfirst=1\r\nsecond=2\r\nthird=3\r\n[B]\r\nother=x\r\n");
  ASSERT_TRUE(WriteProfileText(Ini(), "A", "second", "two"));
  EXPECT_EQ(ReadRaw(), "[A]\r\nfirst=1\r\nsecond=two\r\nthird=3\r\n[B]\r\nother=x\r\n");
}

TEST_F(ProfileTest, NewKeyGoesToTheEndOfItsSectionAndNewSectionToTheEndOfTheFile) {
  WriteRaw("[A]\r\nfirst=1\r\n[B]\r\nother=x\r\n");
  ASSERT_TRUE(WriteProfileText(Ini(), "A", "second", "2"));
  ASSERT_TRUE(WriteProfileText(Ini(), "C", "third", "3"));
  EXPECT_EQ(ReadRaw(), "[A]\r\nfirst=1\r\nsecond=2\r\n[B]\r\nother=x\r\n[C]\r\nthird=3\r\n");
}

TEST_F(ProfileTest, GbkBytesArePreserved) {
  // "淺" ends in 0x5C ('\') and "揮" in 0x5D (']'): neither may be taken for a separator.
  const Text section = "服务器揮";
  const Text key = "名称淺";
  const Text value = "北京机房淺\\揮]";
  ASSERT_TRUE(WriteProfileText(Ini(), section, key, value));

  EXPECT_EQ(ReadProfileText(Ini(), section, key), value);
  EXPECT_EQ(ReadRaw(), "[" + section + "]\r\n" + key + "=" + value + "\r\n");
}

TEST_F(ProfileTest, LongValueComesBackCutToBufferSize) {
  const Text value(20000, 'x');
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Long", value));

  const Text read = ReadProfileText(Ini(), "Main", "Long");
  EXPECT_EQ(read.size(), kProfileBufferSize - 1);
  EXPECT_EQ(read, Text(kProfileBufferSize - 1, 'x'));
}

TEST_F(ProfileTest, LongChineseValueIsCutBetweenCharacters) {
  Text value;
  for (int i = 0; i < 6000; ++i) {
    value += "中";
  }
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Long", value));

  const Text read = ReadProfileText(Ini(), "Main", "Long");
  EXPECT_EQ(read, value.substr(0, kProfileBufferSize - 2));
}

TEST_F(ProfileTest, MatchingQuotesAreRemoved) {
  WriteRaw(
      "[Main]\r\nDouble=\"double quoted\"\r\nSingle='single quoted'\r\nMixed=\"mixed'\r\n"
      "Inner=a \"b\" c\r\nLone=\"\r\nEmpty=\"\"\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Double"), "double quoted");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Single"), "single quoted");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Mixed"), "\"mixed'");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Inner"), "a \"b\" c");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Lone"), "\"");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Empty", "<missing>"), "");
}

TEST_F(ProfileTest, QuotedValueWrittenIsStoredAsGiven) {
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Key", "\"quoted\""));
  EXPECT_EQ(ReadRaw(), "[Main]\r\nKey=\"quoted\"\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key"), "quoted");
}

TEST_F(ProfileTest, BlanksAroundKeysAndValuesAreRemoved) {
  WriteRaw(
      "[Main]\r\n  Spaced  =  some value  \r\n\tTabbed\t=\tx\ty\t\r\n   [Indented]   \r\nk=v\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Spaced"), "some value");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Tabbed"), "x\ty");
  EXPECT_EQ(ReadProfileText(Ini(), "Indented", "k"), "v");
  EXPECT_EQ(ReadProfileText(Ini(), "  Main ", " Spaced  "), "some value");
}

TEST_F(ProfileTest, FullWidthBlanksAreKept) {
  WriteRaw("[Main]\r\nKey=　值　\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key"), "　值　");
}

TEST_F(ProfileTest, LeadingBlanksOfAWrittenValueAreDropped) {
  ASSERT_TRUE(WriteProfileText(Ini(), "Main", "Key", "   value"));
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key"), "value");
}

TEST_F(ProfileTest, CommentLinesDefineNoKeys) {
  WriteRaw("; Key=commented\r\n[Main]\r\n;Key=commented\r\nKey=real\r\n;Other=commented\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Key"), "real");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "Other", "<missing>"), "<missing>");
}

TEST_F(ProfileTest, LinesEndingInLineFeedOnlyAreRead) {
  WriteRaw("[Main]\nA=1\nB=2\n");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "A"), "1");
  EXPECT_EQ(ReadProfileText(Ini(), "Main", "B"), "2");
}

}  // namespace
}  // namespace lumora::platform
