// The finer points of profile files that the program's own files can run into: how a changed file
// is laid out again, which of duplicate entries counts, and what becomes of the fallback text.
#include <gtest/gtest.h>

#include <string>

#include "platform/profile.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::platform {
namespace {

class ProfileFormatTest : public ::testing::Test {
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

TEST_F(ProfileFormatTest, ChangedFileIsWrittenWithoutBlankLinesOrPadding) {
  WriteRaw("; head\n  a = 1  \n\n\n[S1]\nx = 1\ny=2\n\n[S2]\nz=3\n");
  ASSERT_TRUE(WriteProfileText(Ini(), "S1", "X", "10"));
  EXPECT_EQ(ReadRaw(), "; head\r\na=1\r\n[S1]\r\nx=10\r\ny=2\r\n[S2]\r\nz=3\r\n");
}

TEST_F(ProfileFormatTest, WritingTheSameValueLeavesTheFileAlone) {
  const std::string original = "[S]\n k = v \n";
  WriteRaw(original);
  ASSERT_TRUE(WriteProfileText(Ini(), "S", "k", "v"));
  EXPECT_EQ(ReadRaw(), original);
}

TEST_F(ProfileFormatTest, KeysBeforeTheFirstSectionBelongToTheNamelessSection) {
  WriteRaw("a=1\r\n[S]\r\na=2\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "", "a"), "1");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "a"), "2");
  ASSERT_TRUE(WriteProfileText(Ini(), "", "b", "3"));
  EXPECT_EQ(ReadRaw(), "a=1\r\nb=3\r\n[S]\r\na=2\r\n");
}

TEST_F(ProfileFormatTest, FirstOfDuplicateKeysAndSectionsCounts) {
  WriteRaw("[S]\r\nk=first\r\nk=second\r\n[s]\r\nk=third\r\nonly=later\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k"), "first");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "only", "<missing>"), "<missing>");
}

TEST_F(ProfileFormatTest, SectionNameRunsToTheLastBracket) {
  WriteRaw("[ padded ]\r\nk=1\r\n[a]b]\r\nk=2\r\n[open\r\nk=3\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "padded", "k"), "1");
  EXPECT_EQ(ReadProfileText(Ini(), "a]b", "k"), "2");
  EXPECT_EQ(ReadProfileText(Ini(), "open", "k", "<missing>"), "<missing>");
}

TEST_F(ProfileFormatTest, ValueMayHoldEqualsSigns) {
  WriteRaw("[S]\r\nk=a=b\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k"), "a=b");
}

TEST_F(ProfileFormatTest, FallbackLosesTrailingSpacesAndQuotes) {
  WriteRaw("[S]\r\n");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k", "fallback  "), "fallback");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k", " leading"), " leading");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k", "\"quoted\""), "quoted");
  EXPECT_EQ(ReadProfileText(Ini(), "S", "k", "   "), " ");
}

TEST_F(ProfileFormatTest, MissingDirectory) {
  const Text path = directory_.Path() + "\\absent\\config.ini";
  EXPECT_FALSE(WriteProfileText(path, "S", "k", "v"));
  // Nothing is opened at all, so the fallback keeps its quotes.
  EXPECT_EQ(ReadProfileText(path, "S", "k", "\"fallback\"  "), "\"fallback\"");
}

}  // namespace
}  // namespace lumora::platform
