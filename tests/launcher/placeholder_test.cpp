#include "launcher/placeholder.h"

#include <gtest/gtest.h>

namespace lumora::launcher {
namespace {

TEST(SessionPlaceholderTest, ReplacesEveryOccurrence) {
  EXPECT_EQ(ReplacePlaceholder("a%域%b%域%c", "%域%", "D"), "aDbDc");
}

TEST(SessionPlaceholderTest, LeavesTextWithoutThePlaceholderAlone) {
  EXPECT_EQ(ReplacePlaceholder("screen mode id:i:1", "%域%", "D"), "screen mode id:i:1");
  EXPECT_EQ(ReplacePlaceholder("", "%域%", "D"), "");
}

TEST(SessionPlaceholderTest, AsciiLettersMatchInEitherCase) {
  EXPECT_EQ(ReplacePlaceholder("x:%pnp设备%;%PNP设备%;%PnP设备%", "%PnP设备%", "1"), "x:1;1;1");
}

TEST(SessionPlaceholderTest, OtherBytesMustMatchExactly) {
  // "設" is the traditional form: different bytes, no match.
  EXPECT_EQ(ReplacePlaceholder("%PnP設备%", "%PnP设备%", "1"), "%PnP設备%");
}

TEST(SessionPlaceholderTest, MatchStartsOnlyWhereACharacterStarts) {
  // The second byte of "丄" (0x81 0x41) is the byte of "A".
  EXPECT_EQ(ReplacePlaceholder("丄B", "AB", "X"), "丄B");
  EXPECT_EQ(ReplacePlaceholder("AB丄B", "AB", "X"), "X丄B");
}

TEST(SessionPlaceholderTest, ScansLeftToRightWithoutOverlaps) {
  EXPECT_EQ(ReplacePlaceholder("%%%", "%%", "x"), "x%");
  EXPECT_EQ(ReplacePlaceholder("aaaa", "aa", "b"), "bb");
}

TEST(SessionPlaceholderTest, InsertedValueIsNotScannedAgainByTheSameStep) {
  EXPECT_EQ(ReplacePlaceholder("%域%", "%域%", "%域%%域%"), "%域%%域%");
}

TEST(SessionPlaceholderTest, ValueGoesInVerbatim) {
  EXPECT_EQ(ReplacePlaceholder("u:%账号%!", "%账号%", "a;b%c% 中"), "u:a;b%c% 中!");
}

}  // namespace
}  // namespace lumora::launcher
