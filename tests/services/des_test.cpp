#include "services/des.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace lumora::services {
namespace {

using Block = std::array<std::uint8_t, 8>;

std::uint8_t HexDigit(char digit) {
  if (digit >= '0' && digit <= '9') {
    return static_cast<std::uint8_t>(digit - '0');
  }
  return static_cast<std::uint8_t>(digit - 'A' + 10);
}

// Eight bytes from 16 upper-case hexadecimal digits.
Block Hex(const char* digits) {
  Block bytes{};
  for (std::size_t index = 0; index < bytes.size(); ++index) {
    bytes[index] = static_cast<std::uint8_t>((HexDigit(digits[2 * index]) << 4) |
                                             HexDigit(digits[2 * index + 1]));
  }
  return bytes;
}

Block Encipher(const DesSchedule& schedule, Block block) {
  schedule.Transform(block);
  return block;
}

Block EncipherStandard(const DesKey& key, const Block& block) {
  return Encipher(DesSchedule(key, DesDirection::kEncipher), block);
}

Block DecipherStandard(const DesKey& key, const Block& block) {
  return Encipher(DesSchedule(key, DesDirection::kDecipher), block);
}

Block EncipherLowBitFirst(const DesKey& key, const Block& block) {
  return Encipher(DesSchedule::FromLowBitFirstKey(key, DesDirection::kEncipher), block);
}

// A fixed pseudo-random sequence, so the property tests see varied keys and blocks.
class ByteSource {
 public:
  Block Next() {
    Block block{};
    for (auto& byte : block) {
      state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<std::uint8_t>(state_ >> 56);
    }
    return block;
  }

 private:
  std::uint64_t state_ = 0x0123456789ABCDEFULL;
};

struct KnownAnswer {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published FIPS/NBS test values.
constexpr KnownAnswer kKnownAnswers[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"10316E028C8F3B4A", "0000000000000000", "82DCBAFBDEAB6602"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
};

TEST(DesBlockCipherTest, EnciphersKnownAnswers) {
  for (const auto& answer : kKnownAnswers) {
    SCOPED_TRACE(answer.key);
    EXPECT_EQ(EncipherStandard(Hex(answer.key), Hex(answer.plain)), Hex(answer.cipher));
  }
}

TEST(DesBlockCipherTest, DeciphersKnownAnswers) {
  for (const auto& answer : kKnownAnswers) {
    SCOPED_TRACE(answer.key);
    EXPECT_EQ(DecipherStandard(Hex(answer.key), Hex(answer.cipher)), Hex(answer.plain));
  }
}

TEST(DesBlockCipherTest, WeakKeyEnciphersBackToThePlaintext) {
  const DesKey weak = Hex("0101010101010101");
  const Block plain = Hex("8000000000000000");
  const Block once = EncipherStandard(weak, plain);
  EXPECT_NE(once, plain);
  EXPECT_EQ(EncipherStandard(weak, once), plain);
}

TEST(DesBlockCipherTest, StandardKeyIgnoresTheLowBitOfEveryByte) {
  const DesKey key = Hex("133457799BBCDFF1");
  DesKey flipped = key;
  for (auto& byte : flipped) {
    byte ^= 0x01;
  }
  const Block plain = Hex("0123456789ABCDEF");
  EXPECT_EQ(EncipherStandard(flipped, plain), EncipherStandard(key, plain));
  flipped = key;
  flipped[3] ^= 0x80;
  EXPECT_NE(EncipherStandard(flipped, plain), EncipherStandard(key, plain));
}

TEST(DesBlockCipherTest, DecipheringUndoesEnciphering) {
  ByteSource source;
  for (int round = 0; round < 64; ++round) {
    const DesKey key = source.Next();
    const Block plain = source.Next();
    EXPECT_EQ(DecipherStandard(key, EncipherStandard(key, plain)), plain);
  }
}

TEST(DesKeyBitOrderTest, ReversesEveryByte) {
  EXPECT_EQ(ReverseKeyBitOrder(Hex("133457799BBCDFF1")), Hex("C82CEA9ED93DFB8F"));
  EXPECT_EQ(ReverseKeyBitOrder(Hex("0180FF00AA550F3C")), Hex("8001FF0055AAF03C"));
}

TEST(DesKeyBitOrderTest, ReversingTwiceGivesTheKeyBack) {
  ByteSource source;
  for (int round = 0; round < 16; ++round) {
    const DesKey key = source.Next();
    EXPECT_EQ(ReverseKeyBitOrder(ReverseKeyBitOrder(key)), key);
  }
}

TEST(DesKeyBitOrderTest, LowBitFirstKeyMatchesKnownAnswer) {
  // 133457799BBCDFF1 with every byte's bits reversed.
  EXPECT_EQ(EncipherLowBitFirst(Hex("C82CEA9ED93DFB8F"), Hex("0123456789ABCDEF")),
            Hex("85E813540F0AB405"));
}

TEST(DesKeyBitOrderTest, LowBitFirstKeyIsTheStandardKeyReversed) {
  ByteSource source;
  for (int round = 0; round < 64; ++round) {
    const DesKey key = source.Next();
    const Block plain = source.Next();
    EXPECT_EQ(EncipherLowBitFirst(key, plain), EncipherStandard(ReverseKeyBitOrder(key), plain));
  }
}

TEST(DesKeyBitOrderTest, LowBitFirstKeyIgnoresTheHighBitOfEveryByte) {
  ByteSource source;
  const Block plain = source.Next();
  const DesKey key = {'k', '7', 'Q', 'm', '2', 'v', 'X', 0};
  for (std::size_t index = 0; index < key.size(); ++index) {
    DesKey high = key;
    high[index] ^= 0x80;
    EXPECT_EQ(EncipherLowBitFirst(high, plain), EncipherLowBitFirst(key, plain)) << index;
    DesKey low = key;
    low[index] ^= 0x01;
    EXPECT_NE(EncipherLowBitFirst(low, plain), EncipherLowBitFirst(key, plain)) << index;
  }
}

TEST(DesKeyBitOrderTest, LowBitFirstDecipheringUndoesEnciphering) {
  ByteSource source;
  for (int round = 0; round < 16; ++round) {
    const DesKey key = source.Next();
    Block block = source.Next();
    const Block plain = block;
    DesSchedule::FromLowBitFirstKey(key, DesDirection::kEncipher).Transform(block);
    DesSchedule::FromLowBitFirstKey(key, DesDirection::kDecipher).Transform(block);
    EXPECT_EQ(block, plain);
  }
}

#ifndef _WIN32

std::string ToHex(const DesKey& key) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : key) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

// The blocks enciphered in ECB mode by the openssl command under the standard `key`, or
// nothing when the command is missing or refuses (single DES needs its legacy provider).
std::vector<std::uint8_t> OpensslEncipher(const DesKey& key,
                                          const std::vector<std::uint8_t>& plain) {
  const auto input = std::filesystem::temp_directory_path() /
                     ("lumora_des_test_" + std::to_string(::getpid()) + ".bin");
  {
    std::ofstream file(input, std::ios::binary);
    file.write(reinterpret_cast<const char*>(plain.data()),
               static_cast<std::streamsize>(plain.size()));
  }
  const std::string command = "openssl enc -des-ecb -nopad -provider legacy -provider default -K " +
                              ToHex(key) + " -in '" + input.string() + "' 2>/dev/null";
  std::vector<std::uint8_t> output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    int byte = 0;
    while ((byte = std::fgetc(pipe)) != EOF) {
      output.push_back(static_cast<std::uint8_t>(byte));
    }
    if (::pclose(pipe) != 0) {
      output.clear();
    }
  }
  std::filesystem::remove(input);
  if (output.size() != plain.size()) {
    output.clear();
  }
  return output;
}

TEST(DesOpensslTest, LowBitFirstKeyMatchesOpensslUnderReversedKey) {
  if (std::system("command -v openssl >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "openssl is not installed";
  }
  ByteSource source;
  for (int round = 0; round < 8; ++round) {
    const DesKey key = source.Next();
    std::vector<std::uint8_t> plain;
    for (int block = 0; block < 3; ++block) {
      const Block next = source.Next();
      plain.insert(plain.end(), next.begin(), next.end());
    }
    const std::vector<std::uint8_t> expected = OpensslEncipher(ReverseKeyBitOrder(key), plain);
    if (expected.empty()) {
      GTEST_SKIP() << "openssl refuses single DES (legacy provider unavailable)";
    }
    const DesSchedule schedule = DesSchedule::FromLowBitFirstKey(key, DesDirection::kEncipher);
    std::vector<std::uint8_t> ours = plain;
    for (std::size_t offset = 0; offset < ours.size(); offset += 8) {
      schedule.Transform(std::span<std::uint8_t, 8>(ours.data() + offset, 8));
    }
    EXPECT_EQ(ours, expected) << "key " << ToHex(key);
  }
}

#else

TEST(DesOpensslTest, LowBitFirstKeyMatchesOpensslUnderReversedKey) {
  GTEST_SKIP() << "the openssl comparison runs in the native build";
}

#endif

}  // namespace
}  // namespace lumora::services
