// The start-up password row of the settings window, and storing a password so that it reads back.
#include "settings/startup_password_setting.h"

#include <gtest/gtest.h>

#include "services/cipher.h"
#include "services/startup_password.h"
#include "settings/settings_window_fixture.h"
#include "support/last_record.h"

namespace lumora::settings::testing {
namespace {

// Passwords whose enciphered values the settings file carries unchanged on every system.
constexpr const char* kCarriedPasswords[] = {"qwerty", "second", "k9", "远程", "登录", "世界"};

// A password whose enciphered record holds a zero byte: the stored text is cut there and can
// never decipher again.
Text PasswordWithZeroInItsRecord() {
  for (int candidate = 0; candidate < 10000; ++candidate) {
    const Text password = "pw" + std::to_string(candidate);
    if (services::EncipherPassword(password).size() % 8 != 0) {
      return password;
    }
  }
  return {};
}

class StartupPasswordSettingTest : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    settings::WriteDefaults();
  }
  void TypeBoth(const Text& first, const Text& second) {
    ASSERT_TRUE(system_.Type(Window(), "编辑框1", first));
    ASSERT_TRUE(system_.Type(Window(), "编辑框2", second));
  }
  void ExpectLastBox(const Text& text, const Text& title) {
    ASSERT_FALSE(system_.MessageBoxes().empty());
    const auto& box = testing_support::LastMessageBox(system_);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.style, forms::box::kOk | forms::box::kTaskModal);
  }
  static Text StoredPassword() { return services::ReadStoredPassword().password; }
  static Text RawPassword() {
    return settings::ReadSetting(settings::kSecuritySection, settings::kPasswordKey);
  }
};

TEST_F(StartupPasswordSettingTest, TickingShowsTheEmptiedRowAndStoringSetsThePassword) {
  Open();
  Click("选择框_安全密码");
  for (const char* control : {"透明标签5", "编辑框1", "透明标签6", "编辑框2", "按钮_密码安全"}) {
    EXPECT_TRUE(Get(control).Visible()) << control;
  }
  EXPECT_EQ(Get("编辑框1").GetText(), "");
  EXPECT_EQ(RawPassword(), "");
  TypeBoth("qwerty", "qwerty");
  Click("按钮_密码安全");
  ExpectLastBox("启动密码设置成功！", "成功！");
  EXPECT_EQ(StoredPassword(), "qwerty");
  // The fields are not emptied and the box stays ticked.
  EXPECT_EQ(Get("编辑框1").GetText(), "qwerty");
  EXPECT_TRUE(Checked("选择框_安全密码"));
}

TEST_F(StartupPasswordSettingTest, BlanksOnlyCountAsAnEmptyPassword) {
  Open();
  Click("选择框_安全密码");
  TypeBoth("  　 ", "  　 ");
  Click("按钮_密码安全");
  ExpectLastBox("密码不能为空！", "请填写密码！");
  EXPECT_EQ(RawPassword(), "");
}

TEST_F(StartupPasswordSettingTest, BlanksInsideAreRemovedFromBothFields) {
  Open();
  Click("选择框_安全密码");
  TypeBoth("qwe rty", "qw　erty ");
  Click("按钮_密码安全");
  ExpectLastBox("启动密码设置成功！", "成功！");
  EXPECT_EQ(StoredPassword(), "qwerty");
}

TEST_F(StartupPasswordSettingTest, DifferentFieldsAreRefused) {
  Open();
  Click("选择框_安全密码");
  TypeBoth("qwerty", "qwertz");
  Click("按钮_密码安全");
  ExpectLastBox("两次输入的密码不同，请重新确认！", "两次输入密码错误");
  EXPECT_EQ(RawPassword(), "");
}

// A set password shows the row for a new one; clearing the box asks first, and "否" keeps it.
TEST_F(StartupPasswordSettingTest, ClearingTheBoxTurnsThePasswordOffOnceTheUserSaysYes) {
  ASSERT_TRUE(services::StorePassword("second"));
  Open();
  EXPECT_TRUE(Checked("选择框_安全密码"));
  EXPECT_TRUE(Get("编辑框1").Visible());
  EXPECT_EQ(Get("编辑框1").GetText(), "");
  system_.QueueAnswers({forms::box::kAnswerNo});
  Click("选择框_安全密码");
  EXPECT_EQ(testing_support::LastMessageBox(system_).text, "确定要取消启动密码吗？");
  EXPECT_EQ(StoredPassword(), "second");
  EXPECT_TRUE(Checked("选择框_安全密码"));
  EXPECT_TRUE(Get("编辑框1").Visible());
  system_.QueueAnswers({forms::box::kAnswerYes});
  Click("选择框_安全密码");
  EXPECT_FALSE(services::ReadStoredPassword().IsSet());
  EXPECT_FALSE(Get("编辑框1").Visible());
  // Closing the window afterwards leaves it off.
  Close();
  EXPECT_FALSE(services::ReadStoredPassword().IsSet());
}

TEST_F(StartupPasswordSettingTest, TickingWithoutStoringLeavesThePasswordOff) {
  Open();
  Click("选择框_安全密码");
  TypeBoth("k9", "k9");
  Close();
  EXPECT_FALSE(services::ReadStoredPassword().IsSet());
  Open();
  EXPECT_FALSE(Checked("选择框_安全密码"));
}

TEST_F(StartupPasswordSettingTest, ReopeningWithAPasswordShowsTheBoxTicked) {
  Open();
  Click("选择框_安全密码");
  TypeBoth("远程", "远程");
  Click("按钮_密码安全");
  Close();
  Open();
  EXPECT_TRUE(Checked("选择框_安全密码"));
  // The row is there for a new password.
  EXPECT_TRUE(Get("按钮_密码安全").Visible());
  TypeBoth("k9", "k9");
  Click("按钮_密码安全");
  ExpectLastBox("启动密码设置成功！", "成功！");
  EXPECT_EQ(StoredPassword(), "k9");
}

TEST_F(StartupPasswordSettingTest, UnreadableStoredValueStillCountsAsSet) {
  ASSERT_TRUE(settings::WriteSetting(settings::kSecuritySection, settings::kPasswordKey, "abc"));
  Open();
  EXPECT_TRUE(Checked("选择框_安全密码"));
}

TEST_F(StartupPasswordSettingTest, PasswordWithAZeroInItsRecordIsStoredTextSafe) {
  const Text password = PasswordWithZeroInItsRecord();
  ASSERT_FALSE(password.empty());
  Open();
  Click("选择框_安全密码");
  TypeBoth(password, password);
  Click("按钮_密码安全");
  ExpectLastBox("启动密码设置成功！", "成功！");
  EXPECT_EQ(RawPassword(), services::EncipherPasswordTextSafe(password));
  EXPECT_TRUE(services::AdmitsPassword(password));
}

TEST_F(StartupPasswordSettingTest, EveryCarriedPasswordStoresAndReadsBack) {
  for (const char* password : kCarriedPasswords) {
    EXPECT_EQ(StoreStartupPassword(password, password), PasswordStoreOutcome::kStored) << password;
    EXPECT_EQ(StoredPassword(), password);
  }
}

// The index of the character that ends `text`.
std::size_t LastCharacter(const Text& text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    last = i;
  }
  return last;
}

TEST_F(StartupPasswordSettingTest, ValueEndingInALoneLeadByteIsStoredTextSafe) {
  // The profile functions carry values through UTF-16, where a lead byte without its trail byte
  // has no spelling: such a raw value would come back changed.
  for (int candidate = 0; candidate < 10000; ++candidate) {
    const Text password = "x" + std::to_string(candidate);
    const Text value = services::EncipherPassword(password);
    if (value.size() != 8 || LastCharacter(value) != value.size() - 1 ||
        !IsGbkLeadByte(static_cast<unsigned char>(value.back()))) {
      continue;
    }
    EXPECT_EQ(StoreStartupPassword(password, password), PasswordStoreOutcome::kStored) << password;
    EXPECT_EQ(RawPassword(), services::EncipherPasswordTextSafe(password));
    EXPECT_EQ(StoredPassword(), password);
    return;
  }
  GTEST_FAIL() << "no password enciphers to a value ending in a lone lead byte";
}

TEST_F(StartupPasswordSettingTest, UnwritableSettingsFileIsReported) {
  Open();
  Click("选择框_安全密码");
  ASSERT_TRUE(services::StorePassword("世界"));
  {
    UnwritableSettingsFile unwritable(directory_.NativePath("config.ini"));
    TypeBoth("qwerty", "qwerty");
    Click("按钮_密码安全");
    ExpectLastBox("启动密码没有保存：配置文件 config.ini 无法写入（可能是只读文件）！",
                  "保存失败！");
    // Nothing readable is stored: the box does not claim a password.
    EXPECT_FALSE(Checked("选择框_安全密码"));
    Click("选择框_安全密码");
    Click("选择框_安全密码");
    ExpectLastBox("启动密码没有关闭：配置文件 config.ini 无法写入（可能是只读文件）！",
                  "关闭失败！");
    EXPECT_TRUE(Checked("选择框_安全密码"));
  }
}

#ifndef _WIN32
// Windows keeps even an administrator from writing a file marked read-only; the profile
// emulation does the same when no write bit is set, whoever runs it.
TEST_F(StartupPasswordSettingTest, ReadOnlySettingsFileKeepsTheStoredPassword) {
  ASSERT_TRUE(services::StorePassword("世界"));
  const std::string path = directory_.NativePath("config.ini");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_EQ(StoreStartupPassword("qwerty", "qwerty"), PasswordStoreOutcome::kNotWritten);
  EXPECT_FALSE(ClearStartupPassword());
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  EXPECT_EQ(StoredPassword(), "世界");
}
#endif

}  // namespace
}  // namespace lumora::settings::testing
