// Stored text forms and the GBK conversion of the texts the engine reads and writes.
#include "services/jet/text_codec.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace lumora::jet {
namespace {

Bytes ToBytes(std::initializer_list<int> values) {
  Bytes bytes;
  for (const int value : values) {
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

TEST(JetTextCodec, DecodesPlainAndCompressedForms) {
  EXPECT_EQ(DecodeJetText(ToBytes({'a', 0, 0x0D, 0x67})), u"a\u670D");
  // An odd trailing byte is dropped.
  EXPECT_EQ(DecodeJetText(ToBytes({'a', 0, 'b'})), u"a");
  EXPECT_EQ(DecodeJetText(ToBytes({0xFF, 0xFE, 'a', 'b', 'c'})), u"abc");
  // Compressed, then two bytes per character after a zero, then back.
  EXPECT_EQ(DecodeJetText(ToBytes({0xFF, 0xFE, 'a', 0, 0x0D, 0x67, 0, 'z'})), u"a\u670Dz");
  EXPECT_EQ(DecodeJetText(ToBytes({0xFF, 0xFE})), u"");
  EXPECT_EQ(DecodeJetText({}), u"");
  EXPECT_EQ(DecodeJetText(ToBytes({0xFF})), u"");
}

TEST(JetCodePage, ConvertsBetweenGbkAndUtf16) {
  const std::u16string wide = u"服务器名 Server";
  const Text gbk = "服务器名 Server";
  EXPECT_EQ(platform::WideToGbk(wide), gbk);
  EXPECT_EQ(platform::GbkToWide(gbk), wide);
  EXPECT_EQ(platform::WideToGbk(u""), "");
  EXPECT_EQ(platform::GbkToWide(""), u"");
  // No GBK spelling: one question mark per character, a surrogate pair being one.
  EXPECT_EQ(platform::WideToGbk(u"a\u00e4b\U0001F600c"), "a?b?c");
  // A lead byte without its second byte.
  EXPECT_EQ(platform::GbkToWide(std::string("a\xB1", 2)), u"a?");
}

}  // namespace
}  // namespace lumora::jet
