#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace lumora::platform {
namespace {

TEST(CodePageTest, EveryGbkCharacterRoundTripsThroughUtf16) {
  int characters = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const Text bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = GbkToWide(bytes);
      ASSERT_EQ(wide.size(), 1u);
      if (wide[0] == u'?') {
        continue;  // an unassigned code
      }
      ++characters;
      EXPECT_EQ(WideToGbk(wide), bytes) << lead << " " << trail;
    }
  }
  // GBK assigns about 21,800 codes (glibc's table 21,791); Windows' code page 936 adds the
  // user-defined areas on top. A table that lost a whole row would fall below this.
  EXPECT_GE(characters, 21700);
}

TEST(CodePageTest, KnownTextsConvertBothWays) {
  const Text gbk = "远程 RDP";  // compiled as GBK
  const std::u16string wide = {0x8FDC, 0x7A0B, u' ', u'R', u'D', u'P'};
  EXPECT_EQ(GbkToWide(gbk), wide);
  EXPECT_EQ(WideToGbk(wide), gbk);
  EXPECT_EQ(GbkToWide(Text(1, static_cast<char>(0x80))), std::u16string(1, 0x20AC));
}

TEST(CodePageTest, WhatHasNoSpellingBecomesOneQuestionMarkPerCharacter) {
  // U+1F600 (a surrogate pair), a lone surrogate and U+0E01 (Thai) have no GBK form.
  const std::u16string wide = {0xD83D, 0xDE00, u'a', 0xD800, 0x0E01};
  EXPECT_EQ(WideToGbk(wide), "?a??");
  // A lead byte at the end and a lead byte with a trail that is no character.
  EXPECT_EQ(GbkToWide(Text{'x', static_cast<char>(0xB0)}), u"x?");
  EXPECT_EQ(GbkToWide(Text{static_cast<char>(0xB0), static_cast<char>(0x20), 'y'}), u"?y");
}

}  // namespace
}  // namespace lumora::platform
