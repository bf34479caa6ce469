#include "base/text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// "啊、" is B0 A1 A1 A2: its middle bytes spell a full-width blank (A1 A1) across the two
// characters, which only a walk by characters tells apart.
TEST(TextTest, BlanksGoOnlyWhereACharacterStarts) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"啊、", "啊、"},   {" a　b ", "ab"},   {"　　", ""},
      {"啊　、", "啊、"}, {"a\xB0", "a\xB0"},  // a lead byte without its second byte stays
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveBlanks(c.text), c.expected) << c.text;
  }
}

TEST(TextTest, LowerCaseTouchesOnlySingleByteLetters) {
  EXPECT_EQ(AsciiLowerCase("Host.LAN啊Z"), "host.lan啊z");
  EXPECT_EQ(AsciiLowerCase("\x81\x41"), "\x81\x41");  // "丄": its second byte is an "A"
}

TEST(TextTest, SearchesStartOnlyWhereACharacterStarts) {
  EXPECT_EQ(FindOnCharBoundary("啊、", "　", 0), std::string_view::npos);
  EXPECT_EQ(FindOnCharBoundary("啊　", "　", 0), 2u);
  EXPECT_EQ(FindOnCharBoundary("a啊b", "b", 1), 3u);
  EXPECT_EQ(FindOnCharBoundary("ab", "", 2), 2u);
  EXPECT_EQ(FindOnCharBoundary("ab", "", 3), std::string_view::npos);
}

}  // namespace
}  // namespace lumora
