// The start window on real windows: the row it shows, the wrong-password box, the hand-over.
#include <windows.h>

#include <fstream>
#include <string>

#include "app/program.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/program_directory.h"
#include "services/startup_password.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

using forms::LoginWindow;
using forms::MainWindow;

class LoginGateGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
  }
  void TearDown() override {
    for (const auto* window : {&LoginWindow(), &MainWindow()}) {
      if (forms::IsLoaded(*window)) {
        Backend().DestroyNow(*window);
      }
    }
    GuiTest::TearDown();
  }
  bool Shown(const char* control) { return IsWindowVisible(ControlWindow(LoginWindow(), control)); }

  testing_support::TempDirectory directory_;
};

TEST_F(LoginGateGuiTest, WithoutPasswordTheStartButtonShowsUnderTheLogo) {
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  EXPECT_TRUE(IsWindowVisible(Frame(LoginWindow())));
  EXPECT_TRUE(Shown("图片框1"));
  EXPECT_TRUE(Shown("按钮_启动"));
  EXPECT_FALSE(Shown("透明标签1"));
  EXPECT_FALSE(Shown("编辑框1"));
  EXPECT_FALSE(Shown("按钮_登录"));
  wchar_t caption[64] = {};
  GetWindowTextW(ControlWindow(LoginWindow(), "按钮_启动"), caption, 64);
  EXPECT_EQ(std::wstring(caption), L"启动Lumora");
}

TEST_F(LoginGateGuiTest, WithPasswordTheMaskedRowShows) {
  ASSERT_TRUE(services::StorePassword("qwerty"));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  EXPECT_TRUE(Shown("透明标签1"));
  EXPECT_TRUE(Shown("编辑框1"));
  EXPECT_TRUE(Shown("按钮_登录"));
  EXPECT_FALSE(Shown("按钮_启动"));
  HWND entry = ControlWindow(LoginWindow(), "编辑框1");
  EXPECT_NE(GetWindowLongW(entry, GWL_STYLE) & ES_PASSWORD, 0);
  EXPECT_EQ(SendMessageW(entry, EM_GETPASSWORDCHAR, 0, 0), L'*');
}

TEST_F(LoginGateGuiTest, WrongPasswordShowsTheBoxAndKeepsTheWindow) {
  ASSERT_TRUE(services::StorePassword("qwerty"));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  HWND entry = ControlWindow(LoginWindow(), "编辑框1");
  SetWindowTextW(entry, L"QWERTY");
  AnsweredBox answered;
  UserThread user([&] { answered = AnswerMessageBox(IDOK); });
  SendMessageW(ControlWindow(LoginWindow(), "按钮_登录"), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  user.Finish();
  ASSERT_TRUE(answered.seen);
  EXPECT_EQ(answered.title, L"密码错误！");
  EXPECT_EQ(answered.text, L"启动密码错误，请重试！");
  EXPECT_TRUE(forms::IsLoaded(LoginWindow()));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  EXPECT_EQ(forms::Control(LoginWindow(), "编辑框1").GetText(), "QWERTY");
}

TEST_F(LoginGateGuiTest, TheFocusStartsInThePasswordBoxAndAWrongEntryIsSelectedForRetyping) {
  ASSERT_TRUE(services::StorePassword("qwerty"));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  HWND entry = ControlWindow(LoginWindow(), "编辑框1");
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == entry; }));
  SetWindowTextW(entry, L"wrong");
  AnsweredBox answered;
  UserThread user([&] { answered = AnswerMessageBox(IDOK); });
  PressKey(Frame(LoginWindow()), VK_RETURN);  // Enter in the box presses "确认"
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  user.Finish();
  EXPECT_EQ(answered.text, L"启动密码错误，请重试！");
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == entry; }));
  DWORD start = 1, end = 0;
  SendMessageW(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
}

// Esc does what the close box does: the login window goes, and with it the program.
TEST_F(LoginGateGuiTest, EscClosesTheLoginWindow) {
  ASSERT_TRUE(services::StorePassword("qwerty"));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  HWND entry = ControlWindow(LoginWindow(), "编辑框1");
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == entry; }));
  PressKey(Frame(LoginWindow()), VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([] { return !forms::IsLoaded(LoginWindow()); }));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
}

TEST_F(LoginGateGuiTest, StartButtonOpensTheMainWindowAndClosesTheLoginWindow) {
  ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  SendMessageW(ControlWindow(LoginWindow(), "按钮_启动"), BM_CLICK, 0, 0);
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
  ASSERT_TRUE(PumpUntil([] { return !forms::IsLoaded(LoginWindow()); }));
  EXPECT_TRUE(IsWindowVisible(Frame(MainWindow())));
}

}  // namespace
}  // namespace lumora::gui_tests
