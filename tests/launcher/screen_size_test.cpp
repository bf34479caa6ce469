#include "launcher/screen_size.h"

#include <gtest/gtest.h>

namespace lumora::launcher {
namespace {

TEST(SessionScreenSizeTest, EmptyTextGivesTheFallback) {
  EXPECT_EQ(ScreenSizeFrom(""), (ScreenSize{"800", "600"}));
}

TEST(SessionScreenSizeTest, TwoPiecesGiveWidthAndHeight) {
  EXPECT_EQ(ScreenSizeFrom("1024×768"), (ScreenSize{"1024", "768"}));
  EXPECT_EQ(ScreenSizeFrom("800×600"), (ScreenSize{"800", "600"}));
}

TEST(SessionScreenSizeTest, ThreePiecesGiveTheFirstTwo) {
  EXPECT_EQ(ScreenSizeFrom("1280×1024×32"), (ScreenSize{"1280", "1024"}));
}

TEST(SessionScreenSizeTest, LeadingSignGivesAnEmptyWidth) {
  EXPECT_EQ(ScreenSizeFrom("×768"), (ScreenSize{"", "768"}));
}

TEST(SessionScreenSizeTest, FewerThanTwoPiecesGiveTheFallback) {
  EXPECT_EQ(ScreenSizeFrom("1024"), (ScreenSize{"800", "600"}));
  EXPECT_EQ(ScreenSizeFrom("1024×"), (ScreenSize{"800", "600"}));
  EXPECT_EQ(ScreenSizeFrom("×"), (ScreenSize{"800", "600"}));
}

TEST(SessionScreenSizeTest, EmptyPiecesInTheMiddleAreKept) {
  EXPECT_EQ(ScreenSizeFrom("1024××768"), (ScreenSize{"1024", ""}));
  EXPECT_EQ(ScreenSizeFrom("××"), (ScreenSize{"", ""}));
}

TEST(SessionScreenSizeTest, ValuesAreNotChecked) {
  EXPECT_EQ(ScreenSizeFrom("wide×tall"), (ScreenSize{"wide", "tall"}));
}

TEST(SessionScreenSizeTest, TheLetterXDoesNotSplit) {
  EXPECT_EQ(ScreenSizeFrom("1024x768"), (ScreenSize{"800", "600"}));
}

TEST(SessionScreenSizeTest, SignBytesAcrossTwoCharactersDoNotSplit) {
  // "仭" ends in the first byte of "×" and "罖" begins with its second.
  EXPECT_EQ(SplitAtTimesSign("1仭罖2"), (std::vector<Text>{"1仭罖2"}));
  EXPECT_EQ(ScreenSizeFrom("1仭罖2"), (ScreenSize{"800", "600"}));
  EXPECT_EQ(SplitAtTimesSign("后×后"), (std::vector<Text>{"后", "后"}));
}

TEST(SessionScreenSizeTest, SplitKeepsEmptyPiecesButNotATrailingEmptyOne) {
  EXPECT_EQ(SplitAtTimesSign(""), (std::vector<Text>{}));
  EXPECT_EQ(SplitAtTimesSign("a×"), (std::vector<Text>{"a"}));
  EXPECT_EQ(SplitAtTimesSign("×a"), (std::vector<Text>{"", "a"}));
  EXPECT_EQ(SplitAtTimesSign("a××b"), (std::vector<Text>{"a", "", "b"}));
}

}  // namespace
}  // namespace lumora::launcher
