#include "services/startup_password.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/program_directory.h"
#include "services/cipher.h"
#include "support/temp_directory.h"

namespace lumora::services {
namespace {

// Points the program directory at a fresh temporary directory for the length of one test.
class StartupPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_directory_ = ProgramDirectory();
    SetProgramDirectory(directory_.Path());
  }

  void TearDown() override { SetProgramDirectory(previous_directory_); }

  static bool WriteRawValue(const Text& value) {
    return platform::WriteProfileText(ProgramFile("config.ini"), "Security", "Password", value);
  }

  testing_support::TempDirectory directory_;

 private:
  Text previous_directory_;
};

// Whole code page 936 characters (the system's profile functions convert values to UTF-16 and
// back: a lead byte without a valid trail byte is lost), no zero byte or line break inside, no
// blank (space, tab to carriage return, ^Z) or quotation mark at either end.
bool FileCarriesUnchanged(const Text& value) {
  if (value.empty()) {
    return true;
  }
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte == 0x80 || byte == 0xFF) {
      return false;
    }
    if (IsGbkLeadByte(byte)) {
      const auto trail = i + 1 < value.size() ? static_cast<unsigned char>(value[i + 1]) : 0;
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
        return false;
      }
      ++i;
    }
  }
  const auto edge = [](char c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ' || c == '"' || c == '\'';
  };
  return value.find_first_of(std::string("\0\r\n", 3)) == Text::npos && !edge(value.front()) &&
         !edge(value.back());
}

TEST(StoredPasswordTest, IsSetWhenEitherTextIsNotEmpty) {
  EXPECT_FALSE((StoredPassword{"", ""}.IsSet()));
  EXPECT_TRUE((StoredPassword{"raw", ""}.IsSet()));
  EXPECT_TRUE((StoredPassword{"raw", "secret"}.IsSet()));
  EXPECT_TRUE((StoredPassword{"", "secret"}.IsSet()));
}

TEST(StoredPasswordTest, EnciphersToTheRawRecord) {
  // The 8-byte record of "abc", written one byte per character.
  const Bytes record = {0x7C, 0xEF, 0xC1, 0x60, 0xCB, 0xEC, 0x6F, 0x8F};
  EXPECT_EQ(EncipherPassword("abc"), Text(record.begin(), record.end()));
  EXPECT_EQ(EncipherPassword("hello").size(), 16U);
}

TEST(StoredPasswordTest, EmptyPasswordEnciphersToEmptyText) {
  EXPECT_EQ(EncipherPassword(""), "");
}

TEST(StoredPasswordTest, RecordWithZeroByteIsCutThere) {
  // Look for a password whose record holds a zero byte somewhere after its first byte.
  Text password;
  Bytes record;
  std::size_t zero = 0;
  for (int candidate = 0; candidate < 10000 && zero == 0; ++candidate) {
    password = "p" + std::to_string(candidate);
    record = EncryptData(TextToBytes(password), kStartupPasswordKey);
    const auto found = std::find(record.begin() + 1, record.end(), std::uint8_t{0});
    if (found != record.end()) {
      zero = static_cast<std::size_t>(found - record.begin());
    }
  }
  ASSERT_NE(zero, 0U);
  const Text stored = EncipherPassword(password);
  EXPECT_EQ(stored, Text(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(zero)));
  EXPECT_TRUE(DecryptData(TextToBytes(stored), kStartupPasswordKey).empty());
}

TEST_F(StartupPasswordTest, NothingStoredReadsAsUnset) {
  const StoredPassword stored = ReadStoredPassword();
  EXPECT_EQ(stored.raw, "");
  EXPECT_EQ(stored.password, "");
  EXPECT_FALSE(stored.IsSet());
}

TEST_F(StartupPasswordTest, StoredPasswordReadsBack) {
  // Passwords whose records the settings file carries unchanged.
  for (const Text password : {"qwerty", "second", "远程"}) {
    SCOPED_TRACE(password);
    ASSERT_TRUE(FileCarriesUnchanged(EncipherPassword(password)));
    ASSERT_TRUE(StorePassword(password));
    EXPECT_TRUE(directory_.Contains("config.ini"));
    const StoredPassword stored = ReadStoredPassword();
    EXPECT_EQ(stored.password, password);
    EXPECT_EQ(stored.raw, EncipherPassword(password));
    EXPECT_TRUE(stored.IsSet());
  }
}

TEST_F(StartupPasswordTest, StoringEmptyPasswordTurnsItOff) {
  ASSERT_TRUE(StorePassword("abc"));
  ASSERT_TRUE(ReadStoredPassword().IsSet());
  ASSERT_TRUE(StorePassword(""));
  const StoredPassword stored = ReadStoredPassword();
  EXPECT_EQ(stored.raw, "");
  EXPECT_EQ(stored.password, "");
  EXPECT_FALSE(stored.IsSet());
}

TEST_F(StartupPasswordTest, EmptyStoredValueIsUnset) {
  ASSERT_TRUE(WriteRawValue(""));
  EXPECT_FALSE(ReadStoredPassword().IsSet());
}

TEST_F(StartupPasswordTest, UndecipherableValueCountsAsSet) {
  ASSERT_TRUE(WriteRawValue("garbage"));
  const StoredPassword stored = ReadStoredPassword();
  EXPECT_EQ(stored.raw, "garbage");
  EXPECT_EQ(stored.password, "");
  EXPECT_TRUE(stored.IsSet());
}

TEST_F(StartupPasswordTest, WholeBlocksUnderAnotherKeyCountAsSet) {
  Text raw;
  for (int candidate = 0; candidate < 1000; ++candidate) {
    raw = BytesToText(EncryptData(TextToBytes("p" + std::to_string(candidate)), "another key"));
    if (raw.size() == 8 && FileCarriesUnchanged(raw)) {
      break;
    }
  }
  ASSERT_EQ(raw.size(), 8U);
  ASSERT_TRUE(FileCarriesUnchanged(raw));
  ASSERT_TRUE(WriteRawValue(raw));
  const StoredPassword stored = ReadStoredPassword();
  EXPECT_EQ(stored.raw, raw);
  EXPECT_EQ(stored.password, "");
  EXPECT_TRUE(stored.IsSet());
}

TEST_F(StartupPasswordTest, EveryTypedPasswordIsStoredAndAdmitted) {
  // Most records are no text the settings file gives back unchanged; they take the text-safe
  // form, whose length is never a multiple of 8.
  for (const Text password : {"admin", "123456", "abc", "password", "888888", "管理员"}) {
    SCOPED_TRACE(password);
    ASSERT_TRUE(StorePassword(password));
    const StoredPassword stored = ReadStoredPassword();
    EXPECT_EQ(stored.password, password);
    if (FileCarriesUnchanged(EncipherPassword(password))) {
      EXPECT_EQ(stored.raw, EncipherPassword(password));
    } else {
      EXPECT_EQ(stored.raw, EncipherPasswordTextSafe(password));
      EXPECT_NE(stored.raw.size() % 8, 0U);
    }
    EXPECT_TRUE(AdmitsPassword(password));
    EXPECT_FALSE(AdmitsPassword(password + "1"));
  }
}

TEST_F(StartupPasswordTest, ThousandRandomPasswordsAreAdmittedAndTheirVariantsRefused) {
  std::mt19937 random(20261209);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int round = 0; round < 1000; ++round) {
    Text password;
    const int characters = pick(1, 64);
    for (int i = 0; i < characters; ++i) {
      if (pick(0, 1) == 0) {
        password += static_cast<char>(pick(0x21, 0x7E));  // printable ASCII, no blank
      } else {
        password += static_cast<char>(pick(0xB0, 0xF7));  // a GB2312 hanzi
        password += static_cast<char>(pick(0xA1, 0xFE));
      }
    }
    SCOPED_TRACE(round);
    ASSERT_TRUE(StorePassword(password));
    ASSERT_TRUE(AdmitsPassword(password));
    EXPECT_FALSE(AdmitsPassword(password + "x"));
    EXPECT_FALSE(AdmitsPassword(password.substr(0, password.size() - GbkCharLength(password, 0))));
    EXPECT_FALSE(AdmitsPassword(""));
  }
}

// Every line of config.ini after a store, a change and a clear, for 1,000 pairs of random
// passwords whose records hold any byte (line breaks, zero bytes, quotation marks...): the other
// sections as they were, and in [Security] the one line that reads as the current password and
// nothing else, neither an earlier password's record nor what an earlier version left there.
TEST_F(StartupPasswordTest, NoLineOfTheSettingsFileKeepsAnEarlierPassword) {
  const std::string file = directory_.NativePath("config.ini");
  const std::string other = "[RDP]\r\nscreen mode id=1\r\n";
  // What an earlier version left: a record broken by a line break, its rest a line of its own.
  {
    std::ofstream out(file, std::ios::binary);
    out << other << "[Security]\r\nPassword=Lab\r\nuq80idw37\r\n";
  }
  std::mt19937 random(29);
  const auto password = [&] {
    Text text;
    const int characters = std::uniform_int_distribution<int>(1, 12)(random);
    for (int i = 0; i < characters; ++i) {
      if (random() % 2 == 0) {
        text += static_cast<char>(0x21 + random() % 0x5E);
      } else {
        text += static_cast<char>(0xB0 + random() % 0x48);
        text += static_cast<char>(0xA1 + random() % 0x5E);
      }
    }
    return text;
  };
  const auto lines = [&] {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
      EXPECT_TRUE(!line.empty() && line.back() == '\r') << "a line not ended by CR LF";
      line.resize(line.empty() ? 0 : line.size() - 1);
      // An empty line between sections holds nothing.
      if (!line.empty()) {
        found.push_back(line);
      }
    }
    return found;
  };
  for (int round = 0; round < 1000; ++round) {
    SCOPED_TRACE(round);
    const Text first = password();
    const Text second = password();
    for (const Text& current : {first, second, Text()}) {
      ASSERT_TRUE(StorePassword(current));
      const std::vector<std::string> found = lines();
      ASSERT_EQ(found.size(), 4u);
      EXPECT_EQ(found[0] + "\r\n" + found[1] + "\r\n", other);
      EXPECT_EQ(found[2], "[Security]");
      EXPECT_EQ(found[3], "Password=" + StoredValueFor(current));
      EXPECT_EQ(ReadStoredPassword().password, current);
    }
  }
}

TEST_F(StartupPasswordTest, BothStoredFormsAreRead) {
  // The raw form, as every earlier version wrote it.
  ASSERT_TRUE(FileCarriesUnchanged(EncipherPassword("qwerty")));
  ASSERT_TRUE(WriteRawValue(EncipherPassword("qwerty")));
  EXPECT_TRUE(AdmitsPassword("qwerty"));
  // The text-safe form, in either letter case.
  Text lower = EncipherPasswordTextSafe("abc");
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_EQ(DecipherStoredValue(EncipherPasswordTextSafe("abc")), "abc");
  EXPECT_EQ(DecipherStoredValue(lower), "abc");
  // Not hexadecimal, or not whole blocks: nothing.
  EXPECT_EQ(DecipherStoredValue("~" + Text(16, 'G')), "");
  EXPECT_EQ(DecipherStoredValue(EncipherPasswordTextSafe("abc").substr(0, 15)), "");
  EXPECT_EQ(EncipherPasswordTextSafe(""), "");
}

}  // namespace
}  // namespace lumora::services
