// The settings window on real windows, opened from the main window's toolbar: a slider, a check
// box and a radio group changed as the user would, the file holding them after the window closes,
// the main window disabled meanwhile, and the drive list from the system's file-system object.
// The settings window runs its own modal loop on this thread, so a second thread plays the user.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "forms/main_window.h"
#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;
using forms::SettingsWindow;
namespace key = settings::key;

constexpr wchar_t kSettingsTitle[] = L"系统设置   功能设置需要重新连接主机才能生效!";

// A loaded machine can take many seconds to show the window; giving up early would leave its
// modal loop running with nobody to close it, so the bound is generous.
HWND WaitForSettingsWindow() {
  for (int round = 0; round < 6000; ++round) {
    HWND window = FindWindowW(nullptr, kSettingsTitle);
    if (window != nullptr && IsWindowVisible(window)) {
      return window;
    }
    Sleep(10);
  }
  return nullptr;
}

bool IsTicked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring ItemText(HWND list, int row) {
  wchar_t buffer[64] = {};
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

bool RowTicked(HWND list, int row) {
  const auto state =
      static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

class SettingsWindowGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
  }
  void TearDown() override {
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    for (const auto* window : {&SettingsWindow(), &MainWindow()}) {
      if (forms::IsLoaded(*window)) {
        Backend().DestroyNow(*window);
      }
    }
    GuiTest::TearDown();
  }

  void OpenMainWindow() {
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    mainFrame_ = Frame(MainWindow());
  }

  // Clicks toolbar button 7, then lets messages run until `user` has finished and the settings
  // window is gone again.
  bool RunSettingsWindow(UserThread& user) {
    HWND toolbar = ControlWindow(MainWindow(), "工具条1");
    RECT button{};
    if (!SendMessageW(toolbar, TB_GETITEMRECT, forms::main_toolbar::kSettings,
                      reinterpret_cast<LPARAM>(&button))) {
      return false;
    }
    PostClick(toolbar, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    const bool done = PumpUntil([&] { return user.Done() && !forms::IsLoaded(SettingsWindow()); });
    user.Finish();
    return done;
  }

  // A control of the settings window, looked up from the user's thread.
  HWND SettingsControl(const char* name) {
    return static_cast<HWND>(
        Backend().ControlHandle(SettingsWindow(), forms::FindControlIndex(SettingsWindow(), name)));
  }

  static Text Stored(const char* name) {
    return settings::ReadSetting(settings::kSessionSection, name);
  }

  testing_support::TempDirectory directory_;
  HWND mainFrame_ = nullptr;
};

TEST_F(SettingsWindowGuiTest, ChangesMadeInTheWindowAreInTheFileAfterItCloses) {
  OpenMainWindow();
  ASSERT_EQ(Stored(key::kWindowSize), "800×600");
  std::atomic<bool> mainDisabled{false};
  std::atomic<bool> sizeRadioFollowed{false};
  std::atomic<bool> otherGroupsKept{false};
  std::atomic<bool> groupCleared{false};
  UserThread user([&] {
    HWND window = WaitForSettingsWindow();
    if (window == nullptr) {
      return;
    }
    // The window is shown just before the others are disabled for its modal loop.
    for (int round = 0; round < 1000 && IsWindowEnabled(mainFrame_); ++round) {
      Sleep(10);
    }
    mainDisabled = !IsWindowEnabled(mainFrame_);
    // One step of the size slider to the right, from the keyboard.
    SendMessageW(SettingsControl("滑块条_大小"), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(SettingsControl("滑块条_大小"), WM_KEYUP, VK_RIGHT, 0);
    sizeRadioFollowed = IsTicked(SettingsControl("单选框_窗口模式"));
    SendMessageW(SettingsControl("选择框_打印机"), BM_CLICK, 0, 0);
    SendMessageW(SettingsControl("单选框_本地组键"), BM_CLICK, 0, 0);
    groupCleared = !IsTicked(SettingsControl("单选框_全屏组键"));
    otherGroupsKept = IsTicked(SettingsControl("单选框_无声音")) &&
                      IsTicked(SettingsControl("单选框_admin")) &&
                      IsTicked(SettingsControl("单选框_窗口模式"));
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_TRUE(RunSettingsWindow(user));
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(IsWindowEnabled(mainFrame_));
  EXPECT_TRUE(sizeRadioFollowed);
  EXPECT_TRUE(groupCleared);
  EXPECT_TRUE(otherGroupsKept);
  EXPECT_EQ(Stored(key::kWindowSize), "1024×768");
  EXPECT_EQ(Stored(key::kPrinters), "1");
  EXPECT_EQ(Stored(key::kKeyCombinations), "0");
  EXPECT_EQ(Stored(key::kAudioPlayback), "2");
  EXPECT_EQ(Stored(key::kColourDepth), "32");
}

// Tab goes through the groups in reading order and through each group row by row, left to
// right; of a radio group only the chosen button is a stop (the arrows move within the group).
// A first start chooses a window, "WinXP2以上", no sound and the keys in full screen only.
TEST_F(SettingsWindowGuiTest, TabFollowsTheLayoutAndSpaceTicksAndEscClosesAndSaves) {
  OpenMainWindow();
  ASSERT_EQ(Stored(key::kPrinters), "0");
  std::vector<std::string> visited;
  std::atomic<bool> closedByEscape{false};
  UserThread user([&] {
    HWND window = WaitForSettingsWindow();
    if (window == nullptr || !WaitUntil([&] { return !IsWindowEnabled(mainFrame_); })) {
      return;
    }
    // Ticked, the start-up password box shows its two fields and their button.
    HWND passwordBox = SettingsControl("选择框_安全密码");
    SendMessageW(passwordBox, BM_CLICK, 0, 0);
    WaitUntil([&] { return IsWindowVisible(SettingsControl("编辑框1")); });
    const auto nameOf = [&](HWND control) -> std::string {
      for (const forms::ControlDefinition& definition : SettingsWindow().controls) {
        if (control == SettingsControl(definition.name)) {
          return definition.name;
        }
      }
      return "?";
    };
    HWND focus = nullptr;
    WaitUntil([&] { return (focus = FocusOnThreadOf(window)) != nullptr; });
    const HWND first = focus;
    for (int press = 0; press < 60; ++press) {
      PressKey(window, VK_TAB);
      const HWND before = focus;
      WaitUntil([&] { return (focus = FocusOnThreadOf(window)) != before; });
      if (focus == before) {
        break;
      }
      visited.push_back(nameOf(focus));
      if (visited.back() == "选择框_打印机") {
        PressKey(window, VK_SPACE);  // ticks it, as a click would
        WaitUntil([&] { return IsTicked(focus); });
      }
      if (focus == first) {
        break;
      }
    }
    PressKey(window, VK_ESCAPE);
    closedByEscape = WaitUntil([&] { return !IsWindow(window); });
  });
  ASSERT_TRUE(RunSettingsWindow(user));
  // One whole round, from the control after the first focus back to it.
  const std::vector<std::string> layout = {
      "单选框_窗口模式", "滑块条_颜色",   "滑块条_大小",     "选择框_全屏连接栏", "选择框_映射",
      "选择框_剪贴板",   "选择框_重连",   "选择框_打印机",   "选择框_压缩",       "选择框_串行口",
      "选择框_桌面背景", "选择框_智能卡", "选择框_桌面主题", "选择框_PnP设备",    "单选框_admin",
      "选择框_录音",     "单选框_无声音", "单选框_全屏组键", "选择框_安全密码",   "编辑框1",
      "编辑框2",         "按钮_密码安全"};
  std::vector<std::string> round = visited;
  const auto start = std::find(round.begin(), round.end(), layout.front());
  std::rotate(round.begin(), start, round.end());
  EXPECT_EQ(round, layout) << "the names are GBK; the walk had " << visited.size() << " stops";
  EXPECT_TRUE(closedByEscape);
  EXPECT_EQ(Stored(key::kPrinters), "1");  // saved on the way out, as by the close box
}

TEST_F(SettingsWindowGuiTest, DriveListShowsTheFixedDisksTheFileSystemObjectReports) {
  OpenMainWindow();
  ASSERT_TRUE(settings::WriteSetting(settings::kSessionSection, key::kDriveMapping, "1"));
  ASSERT_TRUE(settings::WriteSetting(settings::kSessionSection, key::kLocalDrives, "C:;"));
  std::atomic<bool> listEnabled{false};
  std::vector<std::wstring> drives;
  std::vector<bool> ticked;
  UserThread user([&] {
    HWND window = WaitForSettingsWindow();
    if (window == nullptr) {
      return;
    }
    HWND list = SettingsControl("超级列表框_磁盘");
    listEnabled = IsWindowEnabled(list) != FALSE;
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      drives.push_back(ItemText(list, row));
      ticked.push_back(RowTicked(list, row));
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_TRUE(RunSettingsWindow(user));
  EXPECT_TRUE(listEnabled);
  // Wine's C: is a fixed disk; the stored C: is ticked again and saved again.
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives[0], L"C:");
  EXPECT_TRUE(ticked[0]);
  for (std::size_t row = 1; row < drives.size(); ++row) {
    EXPECT_FALSE(ticked[row]) << row;
  }
  EXPECT_EQ(Stored(key::kLocalDrives), "C:;");
  EXPECT_EQ(Stored(key::kSmartCards), "1");
}

}  // namespace
}  // namespace lumora::gui_tests
