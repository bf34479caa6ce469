#include "services/cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string_view>

#include "services/des.h"

namespace lumora::services {
namespace {

std::uint8_t HexDigit(char digit) {
  if (digit >= '0' && digit <= '9') {
    return static_cast<std::uint8_t>(digit - '0');
  }
  return static_cast<std::uint8_t>(digit - 'A' + 10);
}

// Bytes from upper-case hexadecimal digits.
Bytes Hex(std::string_view digits) {
  Bytes bytes;
  for (std::size_t index = 0; index + 1 < digits.size(); index += 2) {
    bytes.push_back(
        static_cast<std::uint8_t>((HexDigit(digits[index]) << 4) | HexDigit(digits[index + 1])));
  }
  return bytes;
}

Bytes Sample(std::size_t length) {
  Bytes bytes(length);
  for (std::size_t index = 0; index < length; ++index) {
    bytes[index] = static_cast<std::uint8_t>(0x41 + index * 7);
  }
  return bytes;
}

// The cipher key the start-up password key text folds to: its 7 bytes and one zero byte.
constexpr DesKey kStartupKeyBytes = {'k', '7', 'Q', 'm', '2', 'v', 'X', 0};

void TransformRecord(Bytes& record, const DesKey& key, DesDirection direction) {
  const DesSchedule schedule = DesSchedule::FromLowBitFirstKey(key, direction);
  for (std::size_t offset = 0; offset < record.size(); offset += 8) {
    schedule.Transform(std::span<std::uint8_t, 8>(record.data() + offset, 8));
  }
}

// A hand-made record of `size` bytes whose length field holds `length_field`, followed by
// `filler` bytes, enciphered directly with the block cipher.
Bytes ForgeRecord(std::size_t size, std::int32_t length_field, std::uint8_t filler = 0x5A,
                  const DesKey& key = kStartupKeyBytes) {
  Bytes record(size, filler);
  const auto field = static_cast<std::uint32_t>(length_field);
  for (std::size_t index = 0; index < 4; ++index) {
    record[index] = static_cast<std::uint8_t>(field >> (8 * index));
  }
  TransformRecord(record, key, DesDirection::kEncipher);
  return record;
}

TEST(CipherDesTest, EmptyDataEnciphersToEmpty) {
  EXPECT_TRUE(EncryptData({}, kStartupPasswordKey).empty());
}

TEST(CipherDesTest, RecordIsLengthPlusFieldRoundedUpToWholeBlocks) {
  const std::pair<std::size_t, std::size_t> cases[] = {{1, 8},   {4, 8},   {5, 16},  {12, 16},
                                                       {13, 24}, {20, 24}, {21, 32}, {100, 104}};
  for (const auto& [length, record_size] : cases) {
    EXPECT_EQ(EncryptData(Sample(length), kStartupPasswordKey).size(), record_size) << length;
  }
}

TEST(CipherDesTest, DecipheredRecordHoldsLittleEndianLengthDataAndZeroPadding) {
  for (const std::size_t length : {1U, 4U, 5U, 12U, 13U, 300U}) {
    SCOPED_TRACE(length);
    const Bytes data = Sample(length);
    Bytes record = EncryptData(data, kStartupPasswordKey);
    TransformRecord(record, kStartupKeyBytes, DesDirection::kDecipher);
    ASSERT_GE(record.size(), length + 4);
    EXPECT_EQ(record[0], static_cast<std::uint8_t>(length & 0xFF));
    EXPECT_EQ(record[1], static_cast<std::uint8_t>(length >> 8));
    EXPECT_EQ(record[2], 0);
    EXPECT_EQ(record[3], 0);
    EXPECT_EQ(Bytes(record.begin() + 4, record.begin() + 4 + length), data);
    for (std::size_t index = 4 + length; index < record.size(); ++index) {
      EXPECT_EQ(record[index], 0) << index;
    }
  }
}

// Values enciphered beforehand with an independent DES implementation under the bit-reversed
// key D6EC8AB64C6E1A00.
TEST(CipherDesTest, EnciphersKnownRecords) {
  EXPECT_EQ(EncryptData(TextToBytes("abc"), kStartupPasswordKey), Hex("7CEFC160CBEC6F8F"));
  EXPECT_EQ(EncryptData(TextToBytes("hello"), kStartupPasswordKey),
            Hex("D0ADFA3ADBED36C8220DC4520F0CC521"));
  EXPECT_EQ(EncryptData(TextToBytes("密码"), kStartupPasswordKey), Hex("4F37AC03C6EB07B9"));
}

TEST(CipherDesTest, DeciphersKnownRecords) {
  EXPECT_EQ(DecryptData(Hex("7CEFC160CBEC6F8F"), kStartupPasswordKey), TextToBytes("abc"));
  EXPECT_EQ(DecryptData(Hex("D0ADFA3ADBED36C8220DC4520F0CC521"), kStartupPasswordKey),
            TextToBytes("hello"));
  EXPECT_EQ(BytesToText(DecryptData(Hex("4F37AC03C6EB07B9"), kStartupPasswordKey)), "密码");
}

TEST(CipherDesTest, RoundTripsEveryLength) {
  for (std::size_t length = 1; length <= 40; ++length) {
    const Bytes data = Sample(length);
    EXPECT_EQ(DecryptData(EncryptData(data, "some key"), "some key"), data) << length;
  }
}

TEST(CipherDesTest, RoundTripsBytesWithZerosAndHighBits) {
  const Bytes data = {0x00, 0xFF, 0x80, 0x00, 0x7F, 0x01, 0x00};
  EXPECT_EQ(DecryptData(EncryptData(data, kStartupPasswordKey), kStartupPasswordKey), data);
}

TEST(CipherDesTest, DataThatIsNotWholeBlocksDeciphersToEmpty) {
  EXPECT_TRUE(DecryptData({}, kStartupPasswordKey).empty());
  EXPECT_TRUE(DecryptData(Sample(7), kStartupPasswordKey).empty());
  EXPECT_TRUE(DecryptData(Sample(9), kStartupPasswordKey).empty());
  const Bytes record = EncryptData(Sample(3), kStartupPasswordKey);
  EXPECT_TRUE(DecryptData(Bytes(record.begin(), record.end() - 1), kStartupPasswordKey).empty());
}

TEST(CipherDesTest, AcceptsLengthFieldsThatFitTheRecord) {
  const Bytes five = DecryptData(ForgeRecord(16, 5), kStartupPasswordKey);
  EXPECT_EQ(five, Bytes(5, 0x5A));
  const Bytes twelve = DecryptData(ForgeRecord(16, 12), kStartupPasswordKey);
  EXPECT_EQ(twelve, Bytes(12, 0x5A));
  for (std::int32_t length = 1; length <= 4; ++length) {
    EXPECT_EQ(DecryptData(ForgeRecord(8, length), kStartupPasswordKey).size(),
              static_cast<std::size_t>(length));
  }
}

TEST(CipherDesTest, RefusesLengthFieldsThatDoNotFitTheRecord) {
  for (const std::int32_t length :
       {4, 13, 0, -1, -5, std::numeric_limits<std::int32_t>::min(), 0x100005}) {
    EXPECT_TRUE(DecryptData(ForgeRecord(16, length), kStartupPasswordKey).empty()) << length;
  }
  EXPECT_TRUE(DecryptData(ForgeRecord(8, 5), kStartupPasswordKey).empty());
  EXPECT_TRUE(DecryptData(ForgeRecord(8, 0), kStartupPasswordKey).empty());
  EXPECT_TRUE(DecryptData(ForgeRecord(24, 12), kStartupPasswordKey).empty());
}

TEST(CipherDesTest, PaddingIsNotExamined) {
  // Length 5 in a 16-byte record leaves 7 padding bytes, here all 0x5A.
  const Bytes data = DecryptData(ForgeRecord(16, 5, 0x5A), kStartupPasswordKey);
  EXPECT_EQ(data.size(), 5U);
}

TEST(CipherDesTest, WrongKeyDeciphersToEmpty) {
  const Bytes record = EncryptData(TextToBytes("secret"), kStartupPasswordKey);
  EXPECT_TRUE(DecryptData(record, "k7Qm2vY").empty());
  EXPECT_TRUE(DecryptData(record, "").empty());
}

TEST(CipherDesTest, HighBitOfKeyCharactersIsIgnored) {
  const Text key = "Secret!";
  Text high = key;
  for (char& character : high) {
    character = static_cast<char>(character | 0x80);
  }
  ASSERT_NE(high, key);
  for (const std::size_t length : {1U, 6U, 19U}) {
    const Bytes data = Sample(length);
    EXPECT_EQ(EncryptData(data, high), EncryptData(data, key)) << length;
    EXPECT_EQ(DecryptData(EncryptData(data, key), high), data) << length;
  }
}

TEST(CipherDesTest, LowBitsOfKeyCharactersCount) {
  const Bytes data = Sample(6);
  EXPECT_NE(EncryptData(data, "Secret!"), EncryptData(data, "Secret "));
  EXPECT_NE(EncryptData(data, "Secret!"), EncryptData(data, "Tecret!"));
}

TEST(CipherDesTest, SevenCharacterKeyLeavesLastKeyByteZero) {
  const Bytes data = Sample(9);
  Bytes expected(16, 0);
  expected[0] = 9;
  std::copy(data.begin(), data.end(), expected.begin() + 4);
  TransformRecord(expected, kStartupKeyBytes, DesDirection::kEncipher);
  EXPECT_EQ(EncryptData(data, kStartupPasswordKey), expected);
}

TEST(CipherDesTest, NinthKeyCharacterFoldsOntoTheFirstKeyByte) {
  const Bytes data = Sample(3);
  Bytes expected = {3, 0, 0, 0, data[0], data[1], data[2], 0};
  const DesKey folded = {'A' ^ 'I', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
  TransformRecord(expected, folded, DesDirection::kEncipher);
  EXPECT_EQ(EncryptData(data, "ABCDEFGHI"), expected);
  EXPECT_NE(EncryptData(data, "ABCDEFGHI"), EncryptData(data, "ABCDEFGH"));
  // The same character twice on one key byte cancels out; 0x80 counts as zero there.
  const Text cancelled = Text(1, static_cast<char>(0x80)) + "BCDEFGH";
  EXPECT_EQ(EncryptData(data, "ABCDEFGHA"), EncryptData(data, cancelled));
}

TEST(CipherDesTest, KeyTextEndsAtItsFirstZeroByte) {
  const Bytes data = Sample(5);
  EXPECT_EQ(EncryptData(data, Text("abc\0def", 7)), EncryptData(data, "abc"));
}

TEST(CipherDesTest, SamePlaintextGivesTheSameRecord) {
  const Bytes data = Sample(17);
  EXPECT_EQ(EncryptData(data, kStartupPasswordKey), EncryptData(data, kStartupPasswordKey));
}

TEST(CipherDesTest, EqualBlocksEncipherEquallyWithoutChaining) {
  // Record: length and 4 data bytes, then the same 8 bytes twice.
  Bytes data = {1, 2, 3, 4};
  for (int copy = 0; copy < 2; ++copy) {
    for (std::uint8_t byte = 10; byte < 18; ++byte) {
      data.push_back(byte);
    }
  }
  const Bytes record = EncryptData(data, kStartupPasswordKey);
  ASSERT_EQ(record.size(), 24U);
  EXPECT_EQ(Bytes(record.begin() + 8, record.begin() + 16),
            Bytes(record.begin() + 16, record.end()));
}

TEST(CipherDesTest, AnyAlgorithmOtherThanTwoMeansDes) {
  const Bytes data = Sample(10);
  const Bytes expected = EncryptData(data, kStartupPasswordKey);
  for (const int algorithm : {0, 1, 3, -1, 100}) {
    EXPECT_EQ(EncryptData(data, kStartupPasswordKey, algorithm), expected) << algorithm;
    EXPECT_EQ(DecryptData(expected, kStartupPasswordKey, algorithm), data) << algorithm;
  }
}

TEST(CipherRc4Test, MatchesKnownVectors) {
  EXPECT_EQ(EncryptData(TextToBytes("Plaintext"), "Key", kCipherRc4), Hex("BBF316E8D940AF0AD3"));
  EXPECT_EQ(EncryptData(TextToBytes("pedia"), "Wiki", kCipherRc4), Hex("1021BF0420"));
  EXPECT_EQ(EncryptData(TextToBytes("Attack at dawn"), "Secret", kCipherRc4),
            Hex("45A01F645FC35B383552544B9BF5"));
}

TEST(CipherRc4Test, DecipheringIsTheSameOperation) {
  EXPECT_EQ(DecryptData(Hex("BBF316E8D940AF0AD3"), "Key", kCipherRc4), TextToBytes("Plaintext"));
  const Bytes data = Sample(33);
  EXPECT_EQ(DecryptData(data, "k", kCipherRc4), EncryptData(data, "k", kCipherRc4));
}

TEST(CipherRc4Test, OutputIsAsLongAsInput) {
  for (const std::size_t length : {1U, 7U, 8U, 9U, 300U}) {
    EXPECT_EQ(EncryptData(Sample(length), "Key", kCipherRc4).size(), length);
  }
  EXPECT_TRUE(EncryptData({}, "Key", kCipherRc4).empty());
  EXPECT_TRUE(DecryptData({}, "Key", kCipherRc4).empty());
}

TEST(CipherRc4Test, EmptyKeyKeepsTheIdentityPermutation) {
  // The keystream that the identity permutation produces.
  EXPECT_EQ(EncryptData(Bytes(8, 0), "", kCipherRc4), Hex("0205070D0D171F28"));
}

TEST(CipherTextTest, TextToBytesTakesEveryByte) {
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(TextToBytes("ab"), (Bytes{'a', 'b'}));
  EXPECT_EQ(TextToBytes("密码").size(), 4U);
}

TEST(CipherTextTest, BytesToTextCutsAtTheFirstZero) {
  EXPECT_EQ(BytesToText({}), "");
  EXPECT_EQ(BytesToText({'a', 'b'}), "ab");
  EXPECT_EQ(BytesToText({'a', 0, 'b'}), "a");
  EXPECT_EQ(BytesToText({0, 'a'}), "");
  EXPECT_EQ(BytesToText(TextToBytes("密码")), "密码");
}

}  // namespace
}  // namespace lumora::services
