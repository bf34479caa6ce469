#include "launcher/password_blob.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::launcher {
namespace {

// Records what it was handed and answers with fixed bytes.
struct FakeProtector {
  Bytes answer;
  Bytes block;
  std::u16string description;
  int calls = 0;

  DataProtector Function() {
    return [this](std::span<const std::uint8_t> data, std::u16string_view name) {
      block.assign(data.begin(), data.end());
      description = std::u16string(name);
      ++calls;
      return answer;
    };
  }
};

TEST(PasswordBlobTest, WorkedExample) {
  FakeProtector fake{Bytes{0x01, 0xAB}};
  EXPECT_EQ(MakePasswordBlob("pw", fake.Function()), "01AB0");
}

TEST(PasswordBlobTest, SmallBytesKeepTheirLeadingZeroAndLettersAreUpperCase) {
  FakeProtector fake{Bytes{0x0A, 0x00, 0xFF, 0x10, 0xC3}};
  EXPECT_EQ(MakePasswordBlob("pw", fake.Function()), "0A00FF10C30");
}

TEST(PasswordBlobTest, LengthIsTwiceTheBlobPlusOne) {
  Bytes answer;
  for (int i = 0; i < 230; ++i) {
    answer.push_back(static_cast<std::uint8_t>(i * 7));
  }
  FakeProtector fake{answer};
  const Text blob = MakePasswordBlob("pw", fake.Function());
  EXPECT_EQ(blob.size(), 2 * answer.size() + 1);
  EXPECT_EQ(blob.back(), '0');
  EXPECT_EQ(blob.find_first_not_of("0123456789ABCDEF"), Text::npos);
}

TEST(PasswordBlobTest, FailedProtectionGivesASingleZero) {
  FakeProtector fake{};
  EXPECT_EQ(MakePasswordBlob("pw", fake.Function()), "0");
  EXPECT_EQ(fake.calls, 1);
}

TEST(PasswordBlobTest, ProtectsA512ByteBlockDescribedAsPsw) {
  FakeProtector fake{Bytes{1}};
  MakePasswordBlob("Ab1", fake.Function());
  EXPECT_EQ(fake.description, u"psw");
  ASSERT_EQ(fake.block.size(), 512u);
  const Bytes head{'A', 0, 'b', 0, '1', 0, 0, 0};
  EXPECT_EQ(Bytes(fake.block.begin(), fake.block.begin() + 8), head);
  EXPECT_EQ(Bytes(fake.block.begin() + 8, fake.block.end()), Bytes(504, 0));
}

TEST(PasswordBlobTest, ChinesePasswordIsConvertedFromCodePage936) {
  // "密码" is U+5BC6 U+7801.
  const Bytes block = PasswordBlock("密码1");
  ASSERT_EQ(block.size(), 512u);
  const Bytes head{0xC6, 0x5B, 0x01, 0x78, '1', 0, 0, 0};
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), head);
}

TEST(PasswordBlobTest, EmptyPasswordIsAZeroBlock) {
  FakeProtector fake{Bytes{0x42}};
  EXPECT_EQ(MakePasswordBlob("", fake.Function()), "420");
  EXPECT_EQ(fake.block, Bytes(512, 0));
}

TEST(PasswordBlobTest, LongPasswordIsCutToItsFirst256Characters) {
  std::string password;
  for (int i = 0; i < 300; ++i) {
    password.push_back(static_cast<char>('a' + i % 26));
  }
  const Bytes block = PasswordBlock(password);
  ASSERT_EQ(block.size(), 512u);
  for (std::size_t i = 0; i < 256; ++i) {
    EXPECT_EQ(block[2 * i], static_cast<std::uint8_t>('a' + i % 26)) << i;
    EXPECT_EQ(block[2 * i + 1], 0) << i;
  }
}

TEST(PasswordBlobTest, Password255CharactersLongJustFitsWithItsTerminator) {
  const Bytes block = PasswordBlock(std::string(255, 'x'));
  EXPECT_EQ(block[508], 'x');
  EXPECT_EQ(block[510], 0);
  EXPECT_EQ(block[511], 0);
}

TEST(PasswordBlobTest, SpellingAloneOfNoBytesIsZero) {
  EXPECT_EQ(SpellPasswordBlob({}), "0");
  const Bytes bytes{0x00, 0x09};
  EXPECT_EQ(SpellPasswordBlob(bytes), "00090");
}

}  // namespace
}  // namespace lumora::launcher
