#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/program_directory.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::settings {
namespace {

using Entry = std::pair<std::string, std::string>;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDirectory(directory_.Path()); }

  std::string ReadRaw() const {
    return testing_support::ReadBytes(directory_.NativePath("config.ini"));
  }

  // The non-blank lines of the file, line ends removed.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const std::string raw = ReadRaw();
    std::size_t start = 0;
    while (start < raw.size()) {
      std::size_t end = raw.find('\n', start);
      if (end == std::string::npos) {
        end = raw.size();
      }
      std::string line = raw.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      if (!line.empty()) {
        lines.push_back(line);
      }
      start = end + 1;
    }
    return lines;
  }

  static std::vector<Entry> DefaultEntries() {
    std::vector<Entry> entries;
    for (const SettingDefault& entry : SessionDefaults()) {
      entries.emplace_back(entry.key, entry.value);
    }
    return entries;
  }

  // The key=value lines under "[RDP]", in file order; fails when another section is present.
  std::vector<Entry> SessionEntries() const {
    const std::vector<std::string> lines = Lines();
    std::vector<Entry> entries;
    EXPECT_FALSE(lines.empty());
    if (lines.empty()) {
      return entries;
    }
    EXPECT_EQ(lines.front(), "[RDP]");
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::size_t equals = lines[i].find('=');
      EXPECT_NE(equals, std::string::npos) << lines[i];
      if (equals == std::string::npos) {
        continue;
      }
      entries.emplace_back(lines[i].substr(0, equals), lines[i].substr(equals + 1));
    }
    return entries;
  }

  testing_support::TempDirectory directory_;
};

TEST_F(SettingsStoreTest, TableHasNineteenKeysWithTheirDefaults) {
  const auto defaults = SessionDefaults();
  ASSERT_EQ(defaults.size(), 19u);
  EXPECT_STREQ(defaults[0].key, "窗口模式");
  EXPECT_STREQ(defaults[0].value, "1");
  EXPECT_STREQ(defaults[2].key, "监视器颜色");
  EXPECT_STREQ(defaults[2].value, "31");
  EXPECT_STREQ(defaults[4].key, "本地驱动器");
  EXPECT_STREQ(defaults[4].value, "");
  EXPECT_STREQ(defaults[18].key, "组合键");
  EXPECT_STREQ(defaults[18].value, "2");
}

TEST_F(SettingsStoreTest, SettingsFileIsConfigIniInTheProgramDirectory) {
  EXPECT_EQ(SettingsFile(), directory_.Path() + "\\config.ini");
}

TEST_F(SettingsStoreTest, DefaultsAreWrittenInTableOrder) {
  WriteDefaults();
  ASSERT_TRUE(directory_.Contains("config.ini"));
  EXPECT_EQ(SessionEntries(), DefaultEntries());
  for (const SettingDefault& entry : SessionDefaults()) {
    EXPECT_EQ(ReadSetting(kSessionSection, entry.key), entry.value) << entry.key;
  }
  EXPECT_EQ(ReadSetting(kSecuritySection, kPasswordKey), "");
}

TEST_F(SettingsStoreTest, WindowSizeDefaultUsesTheGbkMultiplicationSign) {
  WriteDefaults();
  const std::string bytes = {'8', '0', '0', static_cast<char>(0xA1), static_cast<char>(0xC1),
                             '6', '0', '0'};
  EXPECT_EQ(ReadSetting(kSessionSection, key::kWindowSize), bytes);
  EXPECT_EQ(Text("800×600"), bytes);
  EXPECT_NE(ReadRaw().find(Text(key::kWindowSize) + "=" + bytes), std::string::npos);
}

TEST_F(SettingsStoreTest, MissingFileReadsEmptyAndIsNotCreated) {
  for (const SettingDefault& entry : SessionDefaults()) {
    EXPECT_EQ(ReadSetting(kSessionSection, entry.key), "") << entry.key;
  }
  EXPECT_EQ(ReadSetting(kSecuritySection, kPasswordKey), "");
  EXPECT_FALSE(directory_.Contains("config.ini"));
}

TEST_F(SettingsStoreTest, ExistingEmptyFileReadsEmpty) {
  std::ofstream(directory_.NativePath("config.ini"), std::ios::binary).flush();
  EXPECT_EQ(ReadSetting(kSessionSection, key::kWindowMode), "");
  EXPECT_EQ(ReadSetting(kSessionSection, key::kColourDepth), "");
  EXPECT_EQ(ReadRaw(), "");
}

TEST_F(SettingsStoreTest, WritingOneKeyLeavesTheOthers) {
  WriteDefaults();
  ASSERT_TRUE(WriteSetting(kSessionSection, key::kCompression, "0"));

  std::vector<Entry> expected = DefaultEntries();
  for (Entry& entry : expected) {
    if (entry.first == key::kCompression) {
      entry.second = "0";
    }
  }
  EXPECT_EQ(SessionEntries(), expected);
  EXPECT_EQ(ReadSetting(kSessionSection, key::kCompression), "0");
  EXPECT_EQ(ReadSetting(kSessionSection, key::kWindowSize), "800×600");
}

TEST_F(SettingsStoreTest, PasswordGoesToItsOwnSection) {
  WriteDefaults();
  ASSERT_TRUE(WriteSetting(kSecuritySection, kPasswordKey, "0A1B"));
  EXPECT_EQ(ReadSetting(kSecuritySection, kPasswordKey), "0A1B");
  EXPECT_EQ(ReadSetting(kSessionSection, kPasswordKey), "");
  EXPECT_EQ(ReadSetting(kSessionSection, key::kWindowMode), "1");
}

TEST_F(SettingsStoreTest, ConnectionSettingsLoadAndSaveAllKeys) {
  WriteDefaults();
  ASSERT_TRUE(WriteSetting(kSessionSection, key::kLocalDrives, "C:;E:;"));

  ConnectionSettings settings;
  settings.Load();
  EXPECT_EQ(settings.Get(key::kWindowSize), "800×600");
  EXPECT_EQ(settings.Get(key::kLocalDrives), "C:;E:;");
  EXPECT_EQ(settings.Get(key::kKeyCombinations), "2");

  EXPECT_TRUE(settings.Set(key::kColourDepth, "16"));
  EXPECT_FALSE(settings.Set("分辨率", "1"));
  EXPECT_EQ(settings.Get("分辨率"), "");
  settings.Save();

  std::vector<Entry> expected = DefaultEntries();
  expected[2].second = "16";
  expected[4].second = "C:;E:;";
  EXPECT_EQ(SessionEntries(), expected);
}

TEST_F(SettingsStoreTest, ConnectionSettingsFromAFileWithoutKeysAreEmpty) {
  ConnectionSettings settings;
  ASSERT_TRUE(settings.Set(key::kWindowMode, "0"));
  settings.Load();
  for (const SettingDefault& entry : SessionDefaults()) {
    EXPECT_EQ(settings.Get(entry.key), "") << entry.key;
  }
}

TEST_F(SettingsStoreTest, OneProcessWideInstance) {
  EXPECT_EQ(&CurrentConnectionSettings(), &CurrentConnectionSettings());
}

}  // namespace
}  // namespace lumora::settings
