// The whole program as a new user meets it, through its real windows: the first start without
// config.ini, a start-up password set and asked for after a restart, two servers added, one
// modified, one connected to, the history cleared, both deleted, and every group of the settings
// window changed. Each window met is photographed into build/screens/ for a person to look at.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "catalogue/server_store.h"
#include "forms/host_editor_window.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "journey_screens.h"
#include "journey_standin_client.h"
#include "journey_user.h"
#include "platform/program_directory.h"
#include "program_gui_test.h"
#include "seen_by_user.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "settings/settings_store.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {
namespace {

using forms::HostEditorWindow;
using forms::LoginWindow;
using forms::MainWindow;
using forms::SettingsWindow;
namespace key = settings::key;

constexpr wchar_t kSettingsTitle[] = L"系统设置   功能设置需要重新连接主机才能生效!";
constexpr wchar_t kPassword[] = L"qwerty";

using testing_support::ReadBytes;

bool IsTicked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Presses a button or ticks a box as a click would, waiting until its handler has run.
void Press(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

// One step of a slider from the keyboard.
void Nudge(HWND slider, WPARAM arrow) {
  SendMessageW(slider, WM_KEYDOWN, arrow, 0);
  SendMessageW(slider, WM_KEYUP, arrow, 0);
}

class JourneyGuiTest : public ProgramGuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (StandInClient::SystemHasItsOwnClient()) {
      GTEST_SKIP() << "this system has its own mstsc.exe";
    }
    SetProgramDirectory(program_.Path());
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
    app::RegisterWindows();
  }
  void TearDown() override {
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    for (const auto* window :
         {&SettingsWindow(), &HostEditorWindow(), &MainWindow(), &LoginWindow()}) {
      if (forms::IsLoaded(*window)) {
        Backend().DestroyNow(*window);
      }
    }
    GuiTest::TearDown();
  }

  // --- what the user sees and does on the user-interface thread ---

  // Photographs a window of the user-interface thread from another thread, as the modal
  // windows are, while this thread keeps its messages (and Wine its window surfaces) moving.
  void Shoot(const forms::WindowDefinition& window, const std::string& what) {
    HWND frame = Frame(window);
    UserThread camera([&] { screens_.Shoot(frame, what); });
    FinishWhilePumping(camera);
  }

  bool Shown(const forms::WindowDefinition& window, const char* control) {
    return IsWindowVisible(ControlWindow(window, control)) != FALSE;
  }

  std::vector<Text> ListedColumn(int cell) {
    std::vector<Text> cells;
    const forms::Control list = forms::ServerList();
    for (int row = 0; row < list.RowCount(); ++row) {
      cells.push_back(list.CellText(row, cell));
    }
    return cells;
  }

  // A point on the check box of `row` of the server list, found by asking the list what lies
  // where.
  POINT CheckBoxPoint(HWND list, int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = {x, y};
      if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
          (hit.flags & LVHT_ONITEMSTATEICON)) {
        return hit.pt;
      }
    }
    return {-1, -1};
  }

  std::vector<catalogue::ServerRecord> Stored() {
    return testing_support::StoredServers(ProgramFile("mstsc.mdb"));
  }

  static Text Stored(const char* name) {
    return settings::ReadSetting(settings::kSessionSection, name);
  }
  static Text StoredPassword() {
    return settings::ReadSetting(settings::kSecuritySection, settings::kPasswordKey);
  }

  // --- the stages of the journey ---

  void FirstStart();
  void SetStartupPassword();
  void RestartAndLogIn();
  void ReadTheAboutBox();
  void AddTwoServers();
  void ModifyOne();
  void ConnectToOne();
  void ClearTheHistory();
  void DeleteBoth();
  void ChangeEverySettingsGroup();
  void RestartWithoutPassword();

  testing_support::TempDirectory program_;
  StandInClient client_;
  JourneyScreens screens_{LUMORA_SOURCE_DIR "/build/screens"};
};

void JourneyGuiTest::FirstStart() {
  ASSERT_FALSE(program_.Contains("config.ini"));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  EXPECT_TRUE(Shown(LoginWindow(), "按钮_启动"));
  EXPECT_FALSE(Shown(LoginWindow(), "编辑框1"));
  Shoot(LoginWindow(), "login_first_start");
  PostMessageW(ControlWindow(LoginWindow(), "按钮_启动"), BM_CLICK, 0, 0);
  ASSERT_TRUE(
      PumpUntil([] { return forms::IsLoaded(MainWindow()) && !forms::IsLoaded(LoginWindow()); }));
  EXPECT_TRUE(program_.Contains("config.ini"));
  for (const settings::SettingDefault& entry : settings::SessionDefaults()) {
    EXPECT_EQ(Stored(entry.key), entry.value) << entry.key;
  }
  WaitForQuietList();
  Shoot(MainWindow(), "main_empty");
}

void JourneyGuiTest::SetStartupPassword() {
  std::wstring title;
  bool rowHiddenAtFirst = false;
  bool rowShownWhenTicked = false;
  AnsweredBox stored;
  UserThread user([&] {
    HWND window = WaitForModal(SettingsWindow());
    if (window == nullptr) {
      return;
    }
    title = WindowText(window);
    screens_.Shoot(window, "settings_first_open");
    rowHiddenAtFirst = !IsWindowVisible(Live(SettingsWindow(), "编辑框1"));
    Press(Live(SettingsWindow(), "选择框_安全密码"));
    rowShownWhenTicked = IsWindowVisible(Live(SettingsWindow(), "编辑框1")) &&
                         IsWindowVisible(Live(SettingsWindow(), "编辑框2")) &&
                         IsWindowVisible(Live(SettingsWindow(), "按钮_密码安全"));
    SetWindowTextW(Live(SettingsWindow(), "编辑框1"), kPassword);
    SetWindowTextW(Live(SettingsWindow(), "编辑框2"), kPassword);
    screens_.Shoot(window, "settings_password_typed");
    // The handler's box runs its own loop: post the click, then answer the box.
    PostMessageW(Live(SettingsWindow(), "按钮_密码安全"), BM_CLICK, 0, 0);
    stored = AnswerMessageBox(IDOK, screens_, "box_password_set");
    WaitUntil([&] { return IsWindowEnabled(window) != FALSE; });
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kSettings, SettingsWindow(), user));
  EXPECT_EQ(title, kSettingsTitle);
  EXPECT_TRUE(rowHiddenAtFirst);
  EXPECT_TRUE(rowShownWhenTicked);
  EXPECT_EQ(stored.title, L"成功！");
  EXPECT_EQ(stored.text, L"启动密码设置成功！");
  EXPECT_NE(StoredPassword(), "");
  // Closing the window saved the untouched options: only the colour depth becomes a real one.
  EXPECT_EQ(Stored(key::kColourDepth), "32");
  EXPECT_EQ(Stored(key::kWindowSize), "800×600");
}

void JourneyGuiTest::RestartAndLogIn() {
  // The user closes the main window, which ends the program, and starts it again.
  PostMessageW(Frame(MainWindow()), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(PumpUntil([] { return !forms::IsLoaded(MainWindow()); }));
  WaitForQuietList();
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  EXPECT_TRUE(Shown(LoginWindow(), "编辑框1"));
  EXPECT_TRUE(Shown(LoginWindow(), "按钮_登录"));
  EXPECT_FALSE(Shown(LoginWindow(), "按钮_启动"));
  HWND entry = ControlWindow(LoginWindow(), "编辑框1");
  HWND login = ControlWindow(LoginWindow(), "按钮_登录");
  SetWindowTextW(entry, L"QWERTY");
  Shoot(LoginWindow(), "login_password_row");
  AnsweredBox refused;
  {
    UserThread user([&] { refused = AnswerMessageBox(IDOK, screens_, "box_wrong_password"); });
    PostMessageW(login, BM_CLICK, 0, 0);
    FinishWhilePumping(user);
  }
  EXPECT_EQ(refused.title, L"密码错误！");
  EXPECT_EQ(refused.text, L"启动密码错误，请重试！");
  EXPECT_TRUE(forms::IsLoaded(LoginWindow()));
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  SetWindowTextW(entry, kPassword);
  PostMessageW(login, BM_CLICK, 0, 0);
  ASSERT_TRUE(
      PumpUntil([] { return forms::IsLoaded(MainWindow()) && !forms::IsLoaded(LoginWindow()); }));
  WaitForQuietList();
}

void JourneyGuiTest::ReadTheAboutBox() {
  AnsweredBox about;
  UserThread user([&] { about = AnswerMessageBox(IDOK, screens_, "box_about"); });
  ClickToolbarButton(forms::main_toolbar::kAbout);
  FinishWhilePumping(user);
  EXPECT_EQ(about.title, L"关于文档");
}

void JourneyGuiTest::AddTwoServers() {
  std::wstring title;
  AnsweredBox first;
  AnsweredBox second;
  UserThread user([&] {
    HWND editor = WaitForModal(HostEditorWindow());
    if (editor == nullptr) {
      return;
    }
    title = WindowText(editor);
    TypeServer(L"127.0.0.1", L"3389", L"pw1", L"机房一");
    screens_.Shoot(editor, "editor_add");
    PostMessageW(Live(HostEditorWindow(), "按钮_编辑"), BM_CLICK, 0, 0);
    first = AnswerMessageBox(IDOK, screens_, "box_server_added");
    WaitUntil([&] { return IsWindowEnabled(editor) != FALSE; });
    TypeServer(L"127.0.0.2", L"3389", L"密码pw2", L"机房二");
    PostMessageW(Live(HostEditorWindow(), "按钮_编辑"), BM_CLICK, 0, 0);
    second = AnswerMessageBox(IDOK, screens_, "box_second_server_added");
    WaitUntil([&] { return IsWindowEnabled(editor) != FALSE; });
    PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kAdd, HostEditorWindow(), user));
  EXPECT_EQ(title, L"添加主机");
  EXPECT_EQ(first.text, L"服务器添加成功,可以继续添加!");
  EXPECT_EQ(second.text, L"服务器添加成功,可以继续添加!");
  EXPECT_EQ(ListedColumn(0), (std::vector<Text>{"127.0.0.1", "127.0.0.2"}));
  // Both loopback addresses answer the echo request once the pass after the change is done.
  ASSERT_TRUE(PumpUntil([&] {
    return status::ReachabilityPassesRunning() == 0 &&
           ListedColumn(3) == std::vector<Text>{"在线", "在线"};
  }));
  Shoot(MainWindow(), "main_two_servers");
  ASSERT_EQ(Stored().size(), 2u);
}

void JourneyGuiTest::ModifyOne() {
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  PostClick(list, RowCentre(list, 1));
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().CurrentRow() == 1; }));
  std::wstring title;
  std::wstring address;
  AnsweredBox modified;
  UserThread user([&] {
    HWND editor = WaitForModal(HostEditorWindow());
    if (editor == nullptr) {
      return;
    }
    title = WindowText(editor);
    address = WindowText(Live(HostEditorWindow(), "编辑框_编辑IP"));
    SetWindowTextW(Live(HostEditorWindow(), "编辑框_端口"), L"3390");
    SetWindowTextW(Live(HostEditorWindow(), "编辑框_备注"), L"机房二新机柜");
    screens_.Shoot(editor, "editor_modify");
    PostMessageW(Live(HostEditorWindow(), "按钮_编辑"), BM_CLICK, 0, 0);
    modified = AnswerMessageBox(IDOK, screens_, "box_server_modified");
    // A successful change closes the editor; otherwise the user closes it, so the test goes on.
    if (!WaitUntil([&] { return !IsWindow(editor); })) {
      PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kModify, HostEditorWindow(), user));
  EXPECT_EQ(title, L"修改主机");
  EXPECT_EQ(address, L"127.0.0.2");
  EXPECT_EQ(modified.text, L"服务器信息修改成功!");
  EXPECT_EQ(forms::ServerList().CellText(1, 1), "3390");
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].port, "3390");
  EXPECT_EQ(stored[1].remark, "机房二新机柜");
  WaitForQuietList();
}

void JourneyGuiTest::ConnectToOne() {
  DoubleClickRow(1);
  ASSERT_TRUE(PumpUntil([&] { return client_.Called(); }));
  const Text session = program_.Path() + "\\History\\127.0.0.2.rdp";
  EXPECT_EQ(ReadBytes(client_.Log().NativePath("command-line.txt")),
            "mstsc \"" + session + "\" /admin ");
  const std::string written = ReadBytes(program_.NativePath("History/127.0.0.2.rdp"));
  EXPECT_NE(written.find("full address:s:127.0.0.2:3390\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(client_.Log().NativePath("session.rdp")), written);
  EXPECT_EQ(TipText(), L"正在进行远程协助!");
  Shoot(MainWindow(), "main_connect_tip");
}

void JourneyGuiTest::ClearTheHistory() {
  ASSERT_TRUE(program_.Contains("History/127.0.0.2.rdp"));
  AnsweredBox cleared;
  UserThread user([&] { cleared = AnswerMessageBox(IDOK, screens_, "box_history_cleared"); });
  ClickToolbarButton(forms::main_toolbar::kClearHistory);
  FinishWhilePumping(user);
  EXPECT_EQ(cleared.title, L"提示信息!");
  EXPECT_EQ(cleared.text, L"历史连接记录已全部被清空!");
  EXPECT_FALSE(program_.Contains("History/127.0.0.2.rdp"));
}

void JourneyGuiTest::DeleteBoth() {
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  for (const int row : {0, 1}) {
    const POINT box = CheckBoxPoint(list, row);
    ASSERT_GE(box.x, 0) << row;
    PostClick(list, box);
    ASSERT_TRUE(PumpUntil([&] { return forms::ServerList().RowChecked(row); })) << row;
  }
  Shoot(MainWindow(), "main_both_ticked");
  AnsweredBox question;
  UserThread user([&] { question = AnswerMessageBox(IDYES, screens_, "box_delete_question"); });
  ClickToolbarButton(forms::main_toolbar::kDelete);
  FinishWhilePumping(user);
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().RowCount() == 0; }));
  EXPECT_EQ(question.title, L"警告！");
  EXPECT_EQ(question.text, L"确定要删除选中的2个服务器？");
  EXPECT_TRUE(question.yesAndNo);
  EXPECT_EQ(TipText(), L"删除服务器成功！");
  Shoot(MainWindow(), "main_all_deleted");
  EXPECT_TRUE(Stored().empty());
}

void JourneyGuiTest::ChangeEverySettingsGroup() {
  bool passwordBoxTicked = false;
  bool smartCardsFollowed = false;
  bool driveListEnabled = false;
  int drives = 0;
  AnsweredBox cancelQuestion;
  UserThread user([&] {
    HWND window = WaitForModal(SettingsWindow());
    if (window == nullptr) {
      return;
    }
    auto control = [&](const char* name) { return Live(SettingsWindow(), name); };
    passwordBoxTicked = IsTicked(control("选择框_安全密码"));
    screens_.Shoot(window, "settings_second_open");
    // Display: a larger window size, then full screen (which keeps the size), fewer colours.
    Nudge(control("滑块条_大小"), VK_RIGHT);
    Press(control("单选框_全屏模式"));
    Nudge(control("滑块条_颜色"), VK_LEFT);
    // Local resources: drive mapping with C:, and every other box turned over.
    Press(control("选择框_映射"));
    smartCardsFollowed = IsTicked(control("选择框_智能卡"));
    HWND driveList = control("超级列表框_磁盘");
    driveListEnabled = IsWindowEnabled(driveList) != FALSE;
    drives = static_cast<int>(SendMessageW(driveList, LVM_GETITEMCOUNT, 0, 0));
    LVITEMW tick{};
    tick.stateMask = LVIS_STATEIMAGEMASK;
    tick.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(driveList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&tick));
    for (const char* box : {"选择框_剪贴板", "选择框_打印机", "选择框_串行口", "选择框_重连",
                            "选择框_压缩", "选择框_全屏连接栏", "选择框_桌面背景",
                            "选择框_桌面主题", "选择框_PnP设备", "选择框_录音"}) {
      Press(control(box));
    }
    // The three radio groups.
    Press(control("单选框_console"));
    Press(control("单选框_客户声音"));
    Press(control("单选框_远程组键"));
    screens_.Shoot(window, "settings_all_changed");
    // Security: the start-up password off again, once the user has said yes.
    PostMessageW(control("选择框_安全密码"), BM_CLICK, 0, 0);
    cancelQuestion = AnswerMessageBox(IDYES, screens_, "box_cancel_password");
    WaitUntil([&] { return !IsWindowVisible(control("编辑框1")); });
    screens_.Shoot(window, "settings_password_off");
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kSettings, SettingsWindow(), user));
  EXPECT_TRUE(passwordBoxTicked);
  EXPECT_EQ(cancelQuestion.text, L"确定要取消启动密码吗？");
  EXPECT_TRUE(smartCardsFollowed);
  EXPECT_TRUE(driveListEnabled);
  // Wine's C: is a fixed disk, and the first one listed.
  ASSERT_GT(drives, 0);
  EXPECT_EQ(StoredPassword(), "");
  const std::vector<std::pair<const char*, const char*>> expected = {
      {key::kWindowMode, "0"},     {key::kWindowSize, "1024×768"}, {key::kColourDepth, "24"},
      {key::kDriveMapping, "1"},   {key::kLocalDrives, "C:;"},     {key::kClipboard, "0"},
      {key::kPrinters, "1"},       {key::kSerialPorts, "1"},       {key::kSmartCards, "1"},
      {key::kReconnect, "0"},      {key::kForcedMode, "1"},        {key::kCompression, "0"},
      {key::kConnectionBar, "0"},  {key::kDesktopBackground, "0"}, {key::kDesktopTheme, "1"},
      {key::kPnpDevices, "1"},     {key::kRecording, "1"},         {key::kAudioPlayback, "0"},
      {key::kKeyCombinations, "1"}};
  ASSERT_EQ(expected.size(), settings::kSessionKeyCount);
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(Stored(name), value) << name;
  }
}

void JourneyGuiTest::RestartWithoutPassword() {
  PostMessageW(Frame(MainWindow()), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(PumpUntil([] { return !forms::IsLoaded(MainWindow()); }));
  ASSERT_TRUE(forms::LoadWindow(LoginWindow()));
  PumpPending();
  EXPECT_TRUE(Shown(LoginWindow(), "按钮_启动"));
  EXPECT_FALSE(Shown(LoginWindow(), "编辑框1"));
  Shoot(LoginWindow(), "login_start_again");
}

TEST_F(JourneyGuiTest, ANewUserWalksThroughTheWholeProgram) {
  ASSERT_NO_FATAL_FAILURE(FirstStart());
  ASSERT_NO_FATAL_FAILURE(SetStartupPassword());
  ASSERT_NO_FATAL_FAILURE(RestartAndLogIn());
  ASSERT_NO_FATAL_FAILURE(ReadTheAboutBox());
  ASSERT_NO_FATAL_FAILURE(AddTwoServers());
  ASSERT_NO_FATAL_FAILURE(ModifyOne());
  ASSERT_NO_FATAL_FAILURE(ConnectToOne());
  ASSERT_NO_FATAL_FAILURE(ClearTheHistory());
  ASSERT_NO_FATAL_FAILURE(DeleteBoth());
  ASSERT_NO_FATAL_FAILURE(ChangeEverySettingsGroup());
  ASSERT_NO_FATAL_FAILURE(RestartWithoutPassword());
  EXPECT_TRUE(screens_.Missed().empty());
}

}  // namespace
}  // namespace lumora::gui_tests
