// The start window on real windows: the row it shows, the wrong-password box, the hand-over.
#include <windows.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include "app/program.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/program_directory.h"
#include "services/startup_password.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {
namespace {

using forms::LoginWindow;
using forms::MainWindow;

// What a message box of this process said, read by the thread that answered it.
struct AnsweredBox {
  std::wstring title;
  std::wstring text;
};

BOOL CALLBACK FindOwnMessageBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Waits on another thread for a message box of this process, reads it and presses OK.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer()
      : thread_([this] {
          for (int round = 0; round < 2000 && !stop_; ++round) {
            HWND box = nullptr;
            EnumWindows(FindOwnMessageBox, reinterpret_cast<LPARAM>(&box));
            if (box != nullptr) {
              wchar_t title[128] = {};
              wchar_t text[256] = {};
              GetWindowTextW(box, title, 128);
              GetDlgItemTextW(box, 0xFFFF, text, 256);
              answered_.title = title;
              answered_.text = text;
              PostMessageW(box, WM_COMMAND, IDOK, 0);
              seen_ = true;
              return;
            }
            Sleep(10);
          }
        }) {}
  ~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  bool Seen() const { return seen_; }
  const AnsweredBox& Answered() const { return answered_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  AnsweredBox answered_;
  std::thread thread_;
};

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
  {
    MessageBoxAnswerer answerer;
    SendMessageW(ControlWindow(LoginWindow(), "按钮_登录"), BM_CLICK, 0, 0);
    PumpPending();
    ASSERT_TRUE(answerer.Seen());
    EXPECT_EQ(answerer.Answered().title, L"密码错误！");
    EXPECT_EQ(answerer.Answered().text, L"启动密码错误，请重试！");
  }
  EXPECT_TRUE(forms::IsLoaded(LoginWindow()));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  EXPECT_EQ(forms::Control(LoginWindow(), "编辑框1").GetText(), "QWERTY");
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
