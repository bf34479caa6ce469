// The host editor on real windows: a server added and modified through it, ticked rows deleted
// after the Yes/No question, and the main window disabled while the editor is open. The editor
// and the message boxes run their own modal loops on this thread, so a second thread plays the
// user meanwhile.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "catalogue/server_store.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/program_directory.h"
#include "seen_by_user.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

using forms::HostEditorWindow;
using forms::MainWindow;
using testing_support::ServerRow;

class HostEditorGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
  }
  void TearDown() override {
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    for (const auto* window : {&HostEditorWindow(), &MainWindow()}) {
      if (forms::IsLoaded(*window)) {
        Backend().DestroyNow(*window);
      }
    }
    GuiTest::TearDown();
  }

  void Open(const std::vector<testing_support::CatalogueRow>& rows) {
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    mainFrame_ = Frame(MainWindow());
  }

  void ClickToolbarButton(int index) {
    HWND toolbar = ControlWindow(MainWindow(), "工具条1");
    RECT button{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    PostClick(toolbar, Centre(button));
  }

  // The editor's frame once it is shown and has taken the input from the main window; null when
  // it does not come. Called from the user's thread.
  HWND WaitForEditor() {
    HWND editor = nullptr;
    WaitUntil([&] {
      editor = static_cast<HWND>(Backend().FrameHandle(HostEditorWindow()));
      return editor != nullptr && IsWindowVisible(editor) && !IsWindowEnabled(mainFrame_);
    });
    return editor != nullptr && IsWindowVisible(editor) ? editor : nullptr;
  }

  // The editor's controls, looked up from the user's thread (the backend carries the call over).
  HWND EditorControl(const char* name) {
    return static_cast<HWND>(Backend().ControlHandle(
        HostEditorWindow(), forms::FindControlIndex(HostEditorWindow(), name)));
  }

  std::vector<Text> ListedNames() {
    std::vector<Text> names;
    const forms::Control list = forms::ServerList();
    for (int row = 0; row < list.RowCount(); ++row) {
      names.push_back(list.CellText(row, 0));
    }
    return names;
  }
  std::vector<catalogue::ServerRecord> Stored() {
    return testing_support::StoredServers(ProgramFile("mstsc.mdb"));
  }
  std::wstring Tip() {
    std::wstring text;
    VisibleBalloonText(text);
    return text;
  }

  testing_support::TempDirectory directory_;
  HWND mainFrame_ = nullptr;
};

using Names = std::vector<Text>;

TEST_F(HostEditorGuiTest, AServerAddedThroughTheEditorAppearsInTheList) {
  Open({ServerRow("127.0.0.1")});
  std::atomic<bool> mainDisabled{false};
  std::atomic<bool> centred{false};
  std::wstring title, userField;
  AnsweredBox added;
  UserThread user([&] {
    HWND editor = WaitForEditor();
    if (editor == nullptr) {
      return;
    }
    mainDisabled = !IsWindowEnabled(mainFrame_);
    RECT own{}, main{};
    GetWindowRect(editor, &own);
    GetWindowRect(mainFrame_, &main);
    centred = own.left == main.left + (main.right - main.left) / 2 - (own.right - own.left) / 2 &&
              own.top == main.top + (main.bottom - main.top) / 2 - (own.bottom - own.top) / 2;
    title = WindowText(editor);
    userField = WindowText(EditorControl("编辑框_用户"));
    SetWindowTextW(EditorControl("编辑框_编辑IP"), L" 127.0.0.2 ");
    SetWindowTextW(EditorControl("编辑框_端口"), L"3389");
    SetWindowTextW(EditorControl("编辑框_备注"), L"机房二");
    PostMessageW(EditorControl("按钮_编辑"), BM_CLICK, 0, 0);
    added = AnswerMessageBox(IDOK);
    // The box disabled the editor while it was up; the close box works again once it is gone.
    WaitUntil([&] { return IsWindowEnabled(editor) != FALSE; });
    PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  ClickToolbarButton(forms::main_toolbar::kAdd);
  ASSERT_TRUE(PumpUntil([&] { return user.Done() && !forms::IsLoaded(HostEditorWindow()); }));
  user.Finish();
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(centred);
  EXPECT_TRUE(IsWindowEnabled(mainFrame_));
  EXPECT_EQ(title, L"添加主机");
  EXPECT_EQ(userField, L"Administrator");
  EXPECT_EQ(added.title, L"提示信息!");
  EXPECT_EQ(added.text, L"服务器添加成功,可以继续添加!");
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.1", "127.0.0.2"}));
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].user_name, "Administrator");
  EXPECT_EQ(stored[1].remark, "机房二");
}

TEST_F(HostEditorGuiTest, TheKeyboardAloneFillsSavesAndClosesTheEditor) {
  Open({});
  constexpr const char* kTabOrder[] = {"编辑框_编辑IP", "编辑框_端口", "编辑框_用户",
                                       "编辑框_密码",   "编辑框_备注", "按钮_编辑",
                                       "编辑框_编辑IP"};
  std::vector<std::string> reached;
  AnsweredBox added;
  std::atomic<bool> activeAgain{false};
  std::atomic<bool> closedByEscape{false};
  UserThread user([&] {
    HWND editor = WaitForEditor();
    if (editor == nullptr) {
      return;
    }
    // Tab visits every field in reading order, the multi-line remark included, and comes round.
    for (std::size_t step = 0; step < std::size(kTabOrder); ++step) {
      if (step > 0) {
        PressKey(editor, VK_TAB);
      }
      if (!WaitUntil([&] { return FocusOnThreadOf(editor) == EditorControl(kTabOrder[step]); })) {
        break;
      }
      reached.push_back(kTabOrder[step]);
    }
    SetWindowTextW(EditorControl("编辑框_编辑IP"), L"127.0.0.7");
    SetWindowTextW(EditorControl("编辑框_端口"), L"3389");
    PressKey(editor, VK_RETURN);  // in the address box: the save button
    added = AnswerMessageBox(IDOK);
    // After the box the editor has the keyboard again, where the user left it.
    activeAgain = WaitUntil([&] {
      return ActiveOnThreadOf(editor) == editor &&
             FocusOnThreadOf(editor) == EditorControl("编辑框_编辑IP");
    });
    PressKey(editor, VK_ESCAPE);
    closedByEscape = WaitUntil([&] { return !IsWindow(editor); });
  });
  ClickToolbarButton(forms::main_toolbar::kAdd);
  ASSERT_TRUE(PumpUntil([&] { return user.Done() && !forms::IsLoaded(HostEditorWindow()); }));
  user.Finish();
  EXPECT_EQ(reached, std::vector<std::string>(std::begin(kTabOrder), std::end(kTabOrder)));
  EXPECT_EQ(added.text, L"服务器添加成功,可以继续添加!");
  EXPECT_TRUE(activeAgain);
  EXPECT_TRUE(closedByEscape);
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.7"}));
}

TEST_F(HostEditorGuiTest, AModifiedServerIsWrittenBackAndTheEditorCloses) {
  Open({ServerRow("127.0.0.1", "3389", "admin", "pw1", "旧")});
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  PostClick(list, RowCentre(list, 0));
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().CurrentRow() == 0; }));
  std::wstring title, address, password;
  std::atomic<bool> passwordMasked{true};
  AnsweredBox modified;
  UserThread user([&] {
    HWND editor = WaitForEditor();
    if (editor == nullptr) {
      return;
    }
    title = WindowText(editor);
    address = WindowText(EditorControl("编辑框_编辑IP"));
    password = WindowText(EditorControl("编辑框_密码"));
    passwordMasked = (GetWindowLongW(EditorControl("编辑框_密码"), GWL_STYLE) & ES_PASSWORD) != 0;
    SetWindowTextW(EditorControl("编辑框_端口"), L"3390");
    SetWindowTextW(EditorControl("编辑框_备注"), L"新");
    PostMessageW(EditorControl("按钮_编辑"), BM_CLICK, 0, 0);
    modified = AnswerMessageBox(IDOK);
  });
  ClickToolbarButton(forms::main_toolbar::kModify);
  ASSERT_TRUE(PumpUntil([&] { return user.Done() && !forms::IsLoaded(HostEditorWindow()); }));
  user.Finish();
  EXPECT_EQ(title, L"修改主机");
  EXPECT_EQ(address, L"127.0.0.1");
  EXPECT_EQ(password, L"pw1");
  EXPECT_FALSE(passwordMasked);
  EXPECT_EQ(modified.text, L"服务器信息修改成功!");
  EXPECT_TRUE(IsWindowEnabled(mainFrame_));
  EXPECT_EQ(forms::ServerList().CellText(0, 1), "3390");
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].port, "3390");
  EXPECT_EQ(stored[0].remark, "新");
}

// The toolbar's keys on the list open the editor: Insert and Ctrl+N to add, F2 to modify the
// selected server.
TEST_F(HostEditorGuiTest, TheListsKeysOpenTheEditor) {
  Open({ServerRow("127.0.0.1")});
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  PostClick(list, RowCentre(list, 0));
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().CurrentRow() == 0; }));
  const struct {
    UINT key;
    bool ctrl;
    const wchar_t* title;
  } cases[] = {
      {VK_INSERT, false, L"添加主机"}, {'N', true, L"添加主机"}, {VK_F2, false, L"修改主机"}};
  for (const auto& c : cases) {
    std::wstring title;
    UserThread user([&] {
      HWND editor = WaitForEditor();
      if (editor != nullptr) {
        title = WindowText(editor);
        PostMessageW(editor, WM_CLOSE, 0, 0);
      }
    });
    // The key state that the list reads is this thread's.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(list);
    PostMessageW(list, WM_KEYDOWN, c.key, 1);
    ASSERT_TRUE(PumpUntil([&] { return user.Done() && !forms::IsLoaded(HostEditorWindow()); }));
    user.Finish();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(title, c.title) << c.key;
  }
}

TEST_F(HostEditorGuiTest, TwoTickedRowsAreDeletedAfterYes) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  forms::ServerList().SetRowChecked(0, true);
  forms::ServerList().SetRowChecked(2, true);
  AnsweredBox question;
  UserThread user([&] { question = AnswerMessageBox(IDYES); });
  ClickToolbarButton(forms::main_toolbar::kDelete);
  ASSERT_TRUE(PumpUntil([&] { return ListedNames() == Names{"127.0.0.2"}; }));
  user.Finish();
  EXPECT_EQ(question.title, L"警告！");
  EXPECT_EQ(question.text, L"确定要删除选中的2个服务器？");
  EXPECT_TRUE(question.yesAndNo);
  EXPECT_EQ(Tip(), L"删除服务器成功！");
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].server_name, "127.0.0.2");
}

TEST_F(HostEditorGuiTest, NoDeletesNothing) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  forms::ServerList().SetRowChecked(1, true);
  AnsweredBox question;
  UserThread user([&] { question = AnswerMessageBox(IDNO); });
  ClickToolbarButton(forms::main_toolbar::kDelete);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  PumpPending();
  user.Finish();
  EXPECT_EQ(question.text, L"确定要删除选中的1个服务器？");
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.1", "127.0.0.2"}));
  EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(HostEditorGuiTest, ClosingTheMainWindowDuringADeleteRaisesNoFatalError) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  for (int row = 0; row < 3; ++row) {
    forms::ServerList().SetRowChecked(row, true);
  }
  AnsweredBox afterClose;
  UserThread user([&] {
    AnswerMessageBox(IDYES);
    // Arrives while the rows are deleted one by one, with messages let through between.
    PostMessageW(mainFrame_, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(mainFrame_) || ShownMessageBox() != nullptr; });
    if (ShownMessageBox() != nullptr) {
      afterClose = AnswerMessageBox(IDOK);  // a fatal error's box: the process ends with it
    }
  });
  ClickToolbarButton(forms::main_toolbar::kDelete);
  ASSERT_TRUE(PumpUntil([&] { return user.Done() && !forms::IsLoaded(MainWindow()); }));
  user.Finish();
  EXPECT_FALSE(afterClose.seen);
}

}  // namespace
}  // namespace lumora::gui_tests
