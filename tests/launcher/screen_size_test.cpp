#include "launcher/screen_size.h"

#include <gtest/gtest.h>

namespace lumora::launcher {
namespace {

// Sizes the client takes are kept; any other text gives 800 by 600.
TEST(SessionScreenSizeTest, OnlySizesTheClientTakesAreKept) {
  const struct {
    const char* stored;
    ScreenSize size;
  } cases[] = {
      {"1024×768", {"1024", "768"}},
      {"800×600", {"800", "600"}},
      {"1280×1024×32", {"1280", "1024"}},
      {"200×8192", {"200", "8192"}},
      {"", {"800", "600"}},
      {"1024", {"800", "600"}},
      {"1024×", {"800", "600"}},
      {"×", {"800", "600"}},
      {"×768", {"800", "600"}},
      {"1024××768", {"800", "600"}},
      {"wide×tall", {"800", "600"}},
      {"1024x768", {"800", "600"}},
      {"199×600", {"800", "600"}},
      {"8193×600", {"800", "600"}},
      {"-800×600", {"800", "600"}},
      {"99999×600", {"800", "600"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScreenSizeFrom(c.stored), c.size) << c.stored;
  }
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
