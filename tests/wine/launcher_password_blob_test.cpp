// The password blob against the system's own data protection: it reads back as the password.
#include "launcher/password_blob.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <optional>
#include <string>

#include "platform/code_page.h"

namespace lumora::launcher {
namespace {

struct Unprotected {
  Bytes data;
  std::u16string description;
};

// Hexadecimal digits back to bytes; the text must end in the extra "0".
std::optional<Bytes> ParseBlob(const Text& blob) {
  if (blob.size() % 2 != 1 || blob.back() != '0') {
    return std::nullopt;
  }
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < blob.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(blob.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::optional<Unprotected> Unprotect(Bytes blob) {
  DATA_BLOB in{static_cast<DWORD>(blob.size()), blob.data()};
  DATA_BLOB out{};
  LPWSTR description = nullptr;
  if (!::CryptUnprotectData(&in, &description, nullptr, nullptr, nullptr, 0, &out)) {
    return std::nullopt;
  }
  Unprotected result{
      Bytes(out.pbData, out.pbData + out.cbData),
      description ? std::u16string(reinterpret_cast<char16_t*>(description)) : std::u16string()};
  ::LocalFree(out.pbData);
  ::LocalFree(description);
  return result;
}

// The block the password should give: its wide form with terminator, cut or padded to 512 bytes.
Bytes ExpectedBlock(const Text& password) {
  std::u16string wide = platform::GbkToWide(password);
  wide.push_back(u'\0');
  Bytes block(512, 0);
  for (std::size_t i = 0; i < wide.size() && i < 256; ++i) {
    block[2 * i] = static_cast<std::uint8_t>(wide[i] & 0xFF);
    block[2 * i + 1] = static_cast<std::uint8_t>(wide[i] >> 8);
  }
  return block;
}

void ExpectRoundTrip(const Text& password) {
  const Text blob = MakePasswordBlob(password);
  ASSERT_GT(blob.size(), 1u) << "protection failed";
  EXPECT_EQ(blob.find_first_not_of("0123456789ABCDEF"), Text::npos);
  const std::optional<Bytes> bytes = ParseBlob(blob);
  ASSERT_TRUE(bytes.has_value());
  const std::optional<Unprotected> plain = Unprotect(*bytes);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->description, u"psw");
  EXPECT_EQ(plain->data, ExpectedBlock(password));
}

TEST(Win32PasswordBlobTest, AsciiPasswordRoundTrips) {
  ExpectRoundTrip("Passw0rd!");
}

TEST(Win32PasswordBlobTest, ChinesePasswordRoundTrips) {
  ExpectRoundTrip("密码测试abc");
  // And the wide form is the real one, not a byte-for-byte copy.
  const Bytes expected = ExpectedBlock("密码");
  EXPECT_EQ(expected[0], 0xC6);
  EXPECT_EQ(expected[1], 0x5B);
}

TEST(Win32PasswordBlobTest, EmptyPasswordRoundTrips) {
  ExpectRoundTrip("");
}

TEST(Win32PasswordBlobTest, LongPasswordRoundTripsCutTo256Characters) {
  Text password;
  for (int i = 0; i < 300; ++i) {
    password.push_back(static_cast<char>('A' + i % 26));
  }
  ExpectRoundTrip(password);
}

TEST(Win32PasswordBlobTest, TwoBlobsOfOnePasswordDiffer) {
  EXPECT_NE(MakePasswordBlob("same"), MakePasswordBlob("same"));
}

}  // namespace
}  // namespace lumora::launcher
