#include "app/login_gate.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/program.h"
#include "forms/headless/headless_window_system.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/profile.h"
#include "platform/program_directory.h"
#include "services/startup_password.h"
#include "support/catalogue_file.h"
#include "support/last_record.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

using forms::Control;
using forms::LoginWindow;
using forms::MainWindow;

// The passwords below encipher to records that the system's profile functions carry unchanged
// (every lead byte has a valid trail byte in code page 936); most passwords do not.
class LoginGateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    forms::InstallWindowSystem(system_);
    RegisterWindows();
  }

  void CreateDataFile() { ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"))); }
  void SetStoredValue(const Text& raw) {
    ASSERT_TRUE(platform::WriteProfileText(ProgramFile("config.ini"), "Security", "Password", raw));
  }
  void Start() { ASSERT_TRUE(forms::LoadWindow(LoginWindow())); }
  bool PasswordRowShown() {
    return Control(LoginWindow(), "透明标签1").Visible() &&
           Control(LoginWindow(), "编辑框1").Visible() &&
           Control(LoginWindow(), "按钮_登录").Visible();
  }
  void TypeAndLogIn(const Text& typed) {
    ASSERT_TRUE(system_.Type(LoginWindow(), "编辑框1", typed));
    ASSERT_TRUE(system_.Click(LoginWindow(), "按钮_登录"));
  }
  void ExpectWrongPasswordBox(std::size_t count) {
    ASSERT_EQ(system_.MessageBoxes().size(), count);
    const auto& box = testing_support::LastMessageBox(system_);
    EXPECT_EQ(box.text, "启动密码错误，请重试！");
    EXPECT_EQ(box.title, "密码错误！");
    EXPECT_EQ(box.style, forms::box::kIconHand | forms::box::kTaskModal);
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
};

TEST_F(LoginGateTest, WithoutPasswordOnlyTheStartButtonShows) {
  Start();
  EXPECT_TRUE(Control(LoginWindow(), "按钮_启动").Visible());
  EXPECT_FALSE(Control(LoginWindow(), "透明标签1").Visible());
  EXPECT_FALSE(Control(LoginWindow(), "编辑框1").Visible());
  EXPECT_FALSE(Control(LoginWindow(), "按钮_登录").Visible());
  EXPECT_TRUE(Control(LoginWindow(), "图片框1").Visible());
}

TEST_F(LoginGateTest, WithPasswordOnlyThePasswordRowShows) {
  ASSERT_TRUE(services::StorePassword("秘密123"));
  Start();
  EXPECT_TRUE(PasswordRowShown());
  EXPECT_FALSE(Control(LoginWindow(), "按钮_启动").Visible());
}

TEST_F(LoginGateTest, StartButtonOpensMainThenClosesLogin) {
  CreateDataFile();
  Start();
  ASSERT_TRUE(system_.Click(LoginWindow(), "按钮_启动"));
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
  EXPECT_TRUE(forms::IsClosing(LoginWindow()));
  system_.Pump();
  EXPECT_FALSE(forms::IsLoaded(LoginWindow()));
  EXPECT_TRUE(system_.IsShown(MainWindow()));
  EXPECT_EQ(forms::RunProgram(), forms::HeadlessWindowSystem::kIdle);
}

TEST_F(LoginGateTest, WrongPasswordKeepsTheWindowAndTheTypedText) {
  CreateDataFile();
  ASSERT_TRUE(services::StorePassword("qwerty"));
  Start();
  const int entry = forms::FindControlIndex(LoginWindow(), "编辑框1");
  EXPECT_EQ(system_.FocusedControl(LoginWindow()), entry);  // the user can type at once
  EXPECT_FALSE(system_.FocusSelectedAll(LoginWindow()));
  TypeAndLogIn("QWERTY");
  ExpectWrongPasswordBox(1);
  EXPECT_EQ(system_.FocusedControl(LoginWindow()), entry);  // typing again replaces the entry
  EXPECT_TRUE(system_.FocusSelectedAll(LoginWindow()));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  EXPECT_FALSE(forms::IsClosing(LoginWindow()));
  EXPECT_EQ(Control(LoginWindow(), "编辑框1").GetText(), "QWERTY");
  // No limit on tries.
  TypeAndLogIn("qwerty ");
  ExpectWrongPasswordBox(2);
  TypeAndLogIn("qwerty");
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
}

TEST_F(LoginGateTest, ChineseCorrectPasswordAdmits) {
  CreateDataFile();
  ASSERT_TRUE(services::StorePassword("远程"));
  Start();
  TypeAndLogIn("远程");
  EXPECT_TRUE(system_.MessageBoxes().empty());
  system_.Pump();
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
  EXPECT_FALSE(forms::IsLoaded(LoginWindow()));
}

TEST_F(LoginGateTest, StoredPasswordIsReadAtEveryClick) {
  CreateDataFile();
  ASSERT_TRUE(services::StorePassword("k9"));
  Start();
  ASSERT_TRUE(services::StorePassword("second"));
  TypeAndLogIn("k9");
  ExpectWrongPasswordBox(1);
  TypeAndLogIn("second");
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
}

TEST_F(LoginGateTest, UndecipherableValueShowsRowAndAdmitsOnlyEmptyEntry) {
  CreateDataFile();
  SetStoredValue("not a record");
  Start();
  EXPECT_TRUE(PasswordRowShown());
  TypeAndLogIn("not a record");
  ExpectWrongPasswordBox(1);
  TypeAndLogIn("");
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
}

TEST_F(LoginGateTest, MissingDataFileEndsTheProgramWithExitCodeZero) {
  ASSERT_TRUE(services::StorePassword("qwerty"));
  Start();
  TypeAndLogIn("qwerty");
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  // The words of old first, then where the file was looked for and what to do.
  const Text& text = system_.MessageBoxes()[0].text;
  EXPECT_EQ(text.rfind("数据文件不存在,无法使用本软件!\r\n\r\n找不到：", 0), 0u) << text;
  EXPECT_NE(text.find(ProgramFile("mstsc.mdb")), Text::npos) << text;
  EXPECT_EQ(system_.MessageBoxes()[0].title, "提示信息!");
  EXPECT_EQ(system_.MessageBoxes()[0].style, forms::box::kIconExclamation | forms::box::kTaskModal);
  EXPECT_EQ(system_.EndedWith(), 0);
  EXPECT_FALSE(forms::IsLoaded(LoginWindow()));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  EXPECT_EQ(forms::RunProgram(), 0);
}

TEST_F(LoginGateTest, MissingDataFileLeavesNoSettingsFileBehind) {
  Start();
  ASSERT_TRUE(system_.Click(LoginWindow(), "按钮_启动"));
  EXPECT_EQ(system_.EndedWith(), 0);
  EXPECT_FALSE(directory_.Contains("config.ini"));
}

TEST_F(LoginGateTest, ClosingTheLoginWindowEndsTheProgramWithoutMain) {
  CreateDataFile();
  Start();
  ASSERT_TRUE(system_.CloseBox(LoginWindow()));
  EXPECT_EQ(forms::RunProgram(), 0);
  EXPECT_EQ(system_.CreatedWindows(), std::vector<Text>{"LoginWindow"});
}

TEST_F(LoginGateTest, RunLumoraStartsWithTheLoginWindow) {
  EXPECT_EQ(RunLumora(), forms::HeadlessWindowSystem::kIdle);
  EXPECT_TRUE(system_.IsShown(LoginWindow()));
  EXPECT_TRUE(Control(LoginWindow(), "按钮_启动").Visible());
}

}  // namespace
}  // namespace lumora::app
