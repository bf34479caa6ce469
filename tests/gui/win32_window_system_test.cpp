// The real window system under Wine: windows built from definitions, driven through their
// controls as the user would, read back through the model.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "forms/window_model.h"
#include "gui_fixture.h"
#include "gui_test_windows.h"
#include "seen_by_user.h"
#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

using forms::Control;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The caption buttons are letters of the Marlett font; in any other font they read "0 1 r".
TEST_F(GuiTest, TheFontOfTheCaptionButtonsIsInstalled) {
  LOGFONTW wanted{};
  wanted.lfHeight = 13;
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy(wanted.lfFaceName, L"Marlett");
  HFONT font = CreateFontIndirectW(&wanted);
  ASSERT_NE(font, nullptr);
  HDC screen = GetDC(nullptr);
  HGDIOBJ before = SelectObject(screen, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen, LF_FACESIZE, face);
  SelectObject(screen, before);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  EXPECT_EQ(std::wstring(face), L"Marlett");
}

TEST_F(GuiTest, BuildsAFixedCentredFrameOfTheDefinedSize) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_EQ(WindowText(frame), L"界面测试 - 每种组件");

  RECT outer{};
  GetWindowRect(frame, &outer);
  EXPECT_EQ(outer.right - outer.left, 530);
  EXPECT_EQ(outer.bottom - outer.top, 490);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 530) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 490) / 2);

  const LONG style = GetWindowLongW(frame, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  // Shown in the task bar: no owner.
  EXPECT_EQ(GetWindow(frame, GW_OWNER), nullptr);
  EXPECT_NE(SendMessageW(frame, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(frame, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(GuiTest, CreatedIsTheFirstEventAnyHandlerSees) {
  LoadEveryKindWindow();
  ASSERT_FALSE(EventLog().empty());
  EXPECT_EQ(EventLog().front(), "created");
}

TEST_F(GuiTest, ChineseTextsRoundTripThroughTheControls) {
  LoadEveryKindWindow();
  Control edit(EveryKindWindow(), "编辑框1");
  EXPECT_EQ(edit.GetText(), "中文编辑框");
  // What the control holds is the real text, whatever the system's code page.
  EXPECT_EQ(WindowText(ControlWindow(EveryKindWindow(), "编辑框1")), L"中文编辑框");

  edit.SetText("新的文字：你好，世界！");
  EXPECT_EQ(edit.GetText(), "新的文字：你好，世界！");
  EXPECT_EQ(WindowText(ControlWindow(EveryKindWindow(), "编辑框1")), L"新的文字：你好，世界！");

  Control label(EveryKindWindow(), "透明标签1");
  label.SetText("登录用户：");
  EXPECT_EQ(label.GetText(), "登录用户：");
  EXPECT_EQ(Control(EveryKindWindow(), "按钮1").GetText(), "确定按钮");
}

TEST_F(GuiTest, PasswordBoxMasksAndLimitsItsText) {
  LoadEveryKindWindow();
  HWND password = ControlWindow(EveryKindWindow(), "密码框");
  EXPECT_TRUE(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(SendMessageW(password, EM_GETLIMITTEXT, 0, 0), 8);
  EXPECT_EQ(Control(EveryKindWindow(), "密码框").GetText(), "secret");
}

TEST_F(GuiTest, HiddenAndDisabledControlsStaySoUntilChanged) {
  LoadEveryKindWindow();
  Control hidden(EveryKindWindow(), "禁用按钮");
  EXPECT_FALSE(hidden.Visible());
  EXPECT_FALSE(hidden.Enabled());
  EXPECT_FALSE(IsWindowVisible(ControlWindow(EveryKindWindow(), "禁用按钮")));
  EXPECT_TRUE(Control(EveryKindWindow(), "按钮1").Visible());
  EXPECT_TRUE(Control(EveryKindWindow(), "单选框3").Visible());

  hidden.SetVisible(true);
  hidden.SetEnabled(true);
  EXPECT_TRUE(hidden.Visible());
  EXPECT_TRUE(hidden.Enabled());
  EXPECT_TRUE(IsWindowVisible(ControlWindow(EveryKindWindow(), "禁用按钮")));

  // Non-visual components have no window of their own.
  EXPECT_EQ(ControlWindow(EveryKindWindow(), "数据库连接"), nullptr);
  EXPECT_EQ(ControlWindow(EveryKindWindow(), "气球提示框1"), nullptr);
}

TEST_F(GuiTest, ControlsSitInTheirContainersInDefinitionOrder) {
  LoadEveryKindWindow();
  HWND outerGroup = ControlWindow(EveryKindWindow(), "分组框1");
  HWND innerGroup = ControlWindow(EveryKindWindow(), "分组框2");
  HWND radio1 = ControlWindow(EveryKindWindow(), "单选框1");
  HWND radio3 = ControlWindow(EveryKindWindow(), "单选框3");
  EXPECT_EQ(GetParent(radio1), outerGroup);
  EXPECT_EQ(GetParent(innerGroup), outerGroup);
  EXPECT_EQ(GetParent(radio3), innerGroup);
  EXPECT_EQ(GetParent(outerGroup), Frame(EveryKindWindow()));

  // Positions stay relative to the container's client area.
  RECT rect{};
  GetWindowRect(radio3, &rect);
  MapWindowPoints(nullptr, innerGroup, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 40);

  // Z-order (and so tab order) is definition order within each container.
  EXPECT_EQ(GetWindow(outerGroup, GW_CHILD), radio1);
  EXPECT_EQ(GetWindow(radio1, GW_HWNDNEXT), ControlWindow(EveryKindWindow(), "单选框2"));
  EXPECT_EQ(GetWindow(ControlWindow(EveryKindWindow(), "单选框2"), GW_HWNDNEXT), innerGroup);
  EXPECT_EQ(GetWindow(Frame(EveryKindWindow()), GW_CHILD),
            ControlWindow(EveryKindWindow(), "工具条1"));
  EXPECT_EQ(GetNextDlgTabItem(Frame(EveryKindWindow()), ControlWindow(EveryKindWindow(), "编辑框1"),
                              FALSE),
            ControlWindow(EveryKindWindow(), "密码框"));
}

TEST_F(GuiTest, ButtonClickRunsItsHandler) {
  LoadEveryKindWindow();
  SendMessageW(ControlWindow(EveryKindWindow(), "按钮1"), BM_CLICK, 0, 0);
  EXPECT_TRUE(Logged("button"));
}

TEST_F(GuiTest, ExceptionInAHandlerBecomesTheFatalErrorInsteadOfACrash) {
  // The fatal error ends the process, so it happens in a child of this test.
  EXPECT_EXIT(
      {
        LoadEveryKindWindow();
        ThrowFromButton() = true;
        UserThread user([] {
          AnswerMessageBox(IDOK, [](HWND box) {
            wchar_t text[512] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 512);
            const std::wstring shown(text);
            if (shown.find(L"运行时出错!") != std::wstring::npos &&
                shown.find(L"boom") != std::wstring::npos) {
              std::fputs("fatal error box shown\n", stderr);
              std::fflush(stderr);
            }
          });
        });
        SendMessageW(ControlWindow(EveryKindWindow(), "按钮1"), BM_CLICK, 0, 0);
        PumpPending();
      },
      [](int code) { return code == -1; }, "fatal error box shown");
}

TEST_F(GuiTest, CheckBoxClickChangesStateBeforeItsHandlerRuns) {
  LoadEveryKindWindow();
  Control check(EveryKindWindow(), "选择框1");
  EXPECT_FALSE(check.Checked());
  SendMessageW(ControlWindow(EveryKindWindow(), "选择框1"), BM_CLICK, 0, 0);
  EXPECT_TRUE(check.Checked());
  EXPECT_TRUE(Logged("check"));
  check.SetChecked(false);
  EXPECT_FALSE(check.Checked());
}

TEST_F(GuiTest, MouseHandlerReturningZeroKeepsTheControlFromThePress) {
  LoadEveryKindWindow();
  HWND box = ControlWindow(EveryKindWindow(), "选择框1");
  SwallowCheckBoxPress() = true;
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_FALSE(Control(EveryKindWindow(), "选择框1").Checked());
  EXPECT_FALSE(Logged("check"));

  SwallowCheckBoxPress() = false;
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_TRUE(Control(EveryKindWindow(), "选择框1").Checked());
  EXPECT_TRUE(Logged("check"));
}

TEST_F(GuiTest, MouseEventsCarryPositionAndKeyState) {
  LoadEveryKindWindow();
  HWND edit = ControlWindow(EveryKindWindow(), "编辑框1");
  SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  EXPECT_TRUE(Logged("edit-down:3"));
}

TEST_F(GuiTest, SliderReportsPositionRangeAndChanges) {
  LoadEveryKindWindow();
  Control slider(EveryKindWindow(), "滑块1");
  HWND window = ControlWindow(EveryKindWindow(), "滑块1");
  EXPECT_EQ(slider.SliderPosition(), 3);
  EXPECT_EQ(SendMessageW(window, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window, TBM_GETRANGEMAX, 0, 0), 10);
  EXPECT_EQ(SendMessageW(window, TBM_GETPAGESIZE, 0, 0), 2);

  // The user moves it one step with the keyboard.
  SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(slider.SliderPosition(), 4);
  EXPECT_TRUE(Logged("slider"));

  EventLog().clear();
  slider.SetSliderRange(0, 5);
  slider.SetSliderPosition(9);
  EXPECT_EQ(slider.SliderPosition(), 5);
  EXPECT_EQ(SendMessageW(window, TBM_GETRANGEMAX, 0, 0), 5);
  // Changes made by the program raise no event.
  EXPECT_FALSE(Logged("slider"));
}

TEST_F(GuiTest, RadioButtonsAreExclusiveWithinTheirGroupBoxOnly) {
  LoadEveryKindWindow();
  const auto& window = EveryKindWindow();
  EXPECT_TRUE(Control(window, "单选框1").Checked());
  EXPECT_TRUE(Control(window, "单选框3").Checked());

  SendMessageW(ControlWindow(window, "单选框2"), BM_CLICK, 0, 0);
  EXPECT_TRUE(Logged("radio2"));
  EXPECT_TRUE(Control(window, "单选框2").Checked());
  EXPECT_FALSE(Control(window, "单选框1").Checked());
  EXPECT_TRUE(Control(window, "单选框3").Checked());
  EXPECT_FALSE(Control(window, "单选框4").Checked());

  SendMessageW(ControlWindow(window, "单选框4"), BM_CLICK, 0, 0);
  EXPECT_TRUE(Logged("radio4"));
  EXPECT_TRUE(Control(window, "单选框4").Checked());
  EXPECT_FALSE(Control(window, "单选框3").Checked());
  EXPECT_TRUE(Control(window, "单选框2").Checked());

  // Set by the program: the same rule.
  Control(window, "单选框1").SetChecked(true);
  EXPECT_FALSE(Control(window, "单选框2").Checked());
  EXPECT_TRUE(Control(window, "单选框4").Checked());
}

TEST_F(GuiTest, ListViewKeepsCellsImagesChecksAndCurrentRow) {
  LoadEveryKindWindow();
  Control list(EveryKindWindow(), "超级列表框1");
  HWND window = ControlWindow(EveryKindWindow(), "超级列表框1");
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.AppendRow("192.168.1.10"), 0);
  EXPECT_EQ(list.AppendRow("服务器二"), 1);
  EXPECT_EQ(list.RowCount(), 2);

  list.SetCellText(1, 1, "3389");
  list.SetCellText(1, 2, "备注：机房");
  list.SetCellText(1, 6, "北京市 电信");  // no column shows index 6
  EXPECT_EQ(list.CellText(1, 0), "服务器二");
  EXPECT_EQ(list.CellText(1, 1), "3389");
  EXPECT_EQ(list.CellText(1, 2), "备注：机房");
  EXPECT_EQ(list.CellText(1, 6), "北京市 电信");
  EXPECT_EQ(list.CellText(0, 6), "");
  EXPECT_EQ(list.CellText(5, 0), "");

  wchar_t buffer[64] = {};
  LVITEMW item{};
  item.iSubItem = 2;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(window, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(buffer), L"备注：机房");

  EXPECT_EQ(list.RowImage(0), -1);
  list.SetRowImage(0, 2);
  EXPECT_EQ(list.RowImage(0), 2);
  list.SetRowImage(0, -1);
  EXPECT_EQ(list.RowImage(0), -1);

  EXPECT_FALSE(list.RowChecked(1));
  list.SetRowChecked(1, true);
  EXPECT_TRUE(list.RowChecked(1));
  EXPECT_FALSE(list.RowChecked(0));

  EXPECT_EQ(list.CurrentRow(), -1);
  list.SetCurrentRow(1);
  EXPECT_EQ(list.CurrentRow(), 1);
  list.SetCurrentRow(-1);
  EXPECT_EQ(list.CurrentRow(), -1);
  list.EnsureRowVisible(1);

  list.DeleteAllRows();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.CellText(0, 6), "");
}

TEST_F(GuiTest, ADisabledListIsDrawnGreyed) {
  LoadEveryKindWindow();
  Control list(EveryKindWindow(), "超级列表框1");
  HWND window = ControlWindow(EveryKindWindow(), "超级列表框1");
  const auto colours = [&] {
    return std::pair{static_cast<COLORREF>(SendMessageW(window, LVM_GETBKCOLOR, 0, 0)),
                     static_cast<COLORREF>(SendMessageW(window, LVM_GETTEXTCOLOR, 0, 0))};
  };
  const auto enabled = colours();
  list.SetEnabled(false);
  EXPECT_EQ(colours(), std::pair(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_GRAYTEXT)));
  list.SetEnabled(true);
  EXPECT_EQ(colours(), enabled);
  EXPECT_NE(enabled.first, GetSysColor(COLOR_BTNFACE));
}

TEST_F(GuiTest, ListViewExtraCellsFollowTheirRowWhenRowsAreDeleted) {
  LoadEveryKindWindow();
  Control list(EveryKindWindow(), "超级列表框1");
  for (const char* address : {"甲", "乙", "丙"}) {
    const int row = list.AppendRow(address);
    list.SetCellText(row, 6, std::string("位置") + address);
  }
  list.DeleteRow(0);
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(0, 0), "乙");
  EXPECT_EQ(list.CellText(0, 6), "位置乙");
  EXPECT_EQ(list.CellText(1, 6), "位置丙");

  const int added = list.AppendRow("丁");
  EXPECT_EQ(list.CellText(added, 6), "");
}

TEST_F(GuiTest, ListViewClicksRaiseClickAndDoubleClick) {
  LoadEveryKindWindow();
  Control list(EveryKindWindow(), "超级列表框1");
  list.AppendRow("第一行");
  HWND window = ControlWindow(EveryKindWindow(), "超级列表框1");
  RECT row{};
  row.left = LVIR_LABEL;
  ASSERT_TRUE(SendMessageW(window, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  const POINT point = Centre(row);
  PostClick(window, point);
  EXPECT_TRUE(PumpUntil([&] { return Logged("list-click"); }));
  EXPECT_EQ(list.CurrentRow(), 0);

  PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
  EXPECT_TRUE(PumpUntil([&] { return Logged("list-double"); }));
}

TEST_F(GuiTest, ToolbarClickPassesTheButtonIndexAndHiddenButtonsTakeNoClicks) {
  LoadEveryKindWindow();
  HWND toolbar = ControlWindow(EveryKindWindow(), "工具条1");
  ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 4);

  TBBUTTON hidden{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&hidden)));
  EXPECT_TRUE(hidden.fsState & TBSTATE_HIDDEN);
  EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONHIDDEN, hidden.idCommand, 0));

  for (const int index : {0, 2}) {
    RECT rect{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)));
    PostClick(toolbar, Centre(rect));
    const std::string expected = "toolbar:" + std::to_string(index);
    EXPECT_TRUE(PumpUntil([&] { return Logged(expected); })) << expected;
  }
  EXPECT_FALSE(Logged("toolbar:1"));
}

TEST_F(GuiTest, ToolbarTooltipsComeFromTheDefinition) {
  LoadEveryKindWindow();
  HWND toolbar = ControlWindow(EveryKindWindow(), "工具条1");
  TBBUTTON button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button)));
  wchar_t text[80] = {};
  NMTBGETINFOTIPW request{};
  request.hdr.hwndFrom = toolbar;
  request.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(toolbar));
  request.hdr.code = TBN_GETINFOTIPW;
  request.pszText = text;
  request.cchTextMax = 80;
  request.iItem = button.idCommand;
  SendMessageW(GetParent(toolbar), WM_NOTIFY, request.hdr.idFrom,
               reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(std::wstring(text), L"修改提示");
}

TEST_F(GuiTest, ModalLoadDisablesTheOtherWindowsUntilItCloses) {
  LoadEveryKindWindow();
  HWND main = Frame(EveryKindWindow());
  bool mainEnabledWhileModal = true;
  bool dialogLoadedWhileModal = false;
  HWND dialogOwner = nullptr;
  LONG dialogStyle = 0;
  Backend().PostToUiThread([&] {
    mainEnabledWhileModal = IsWindowEnabled(main) != FALSE;
    dialogLoadedWhileModal = forms::IsLoaded(SmallDialog());
    dialogOwner = GetWindow(Frame(SmallDialog()), GW_OWNER);
    dialogStyle = GetWindowLongW(Frame(SmallDialog()), GWL_STYLE);
    forms::CloseWindow(SmallDialog());
  });
  EXPECT_TRUE(forms::LoadWindow(SmallDialog(), true));
  EXPECT_TRUE(dialogLoadedWhileModal);
  EXPECT_FALSE(mainEnabledWhileModal);
  // Minimised, it would leave nothing on the screen to restore it by.
  EXPECT_FALSE(dialogStyle & WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongW(main, GWL_STYLE) & WS_MINIMIZEBOX);
  // Owned by the invisible program-wide owner: no task-bar button.
  ASSERT_NE(dialogOwner, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialogOwner));
  EXPECT_TRUE(Logged("dialog-created"));
  EXPECT_FALSE(forms::IsLoaded(SmallDialog()));
  EXPECT_EQ(Frame(SmallDialog()), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
  // The window behind the modal one is the active one again.
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == main; }));
}

TEST_F(GuiTest, CloseWindowDestroysWhenTheLoopNextRuns) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  Control(EveryKindWindow(), "编辑框1").SetText("关闭前的文字");
  forms::CloseWindow(EveryKindWindow());
  EXPECT_TRUE(IsWindow(frame));
  EXPECT_TRUE(forms::IsLoaded(EveryKindWindow()));
  EXPECT_FALSE(Logged("destroyed"));

  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame); }));
  EXPECT_FALSE(forms::IsLoaded(EveryKindWindow()));
  EXPECT_TRUE(Logged("destroyed"));
  // The destroyed handler could still read the controls.
  EXPECT_EQ(TextReadWhileDestroying(), "关闭前的文字");
}

TEST_F(GuiTest, CloseBoxDestroysAClosableWindow) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(Logged("destroyed"));
  EXPECT_FALSE(forms::IsLoaded(EveryKindWindow()));
}

TEST_F(GuiTest, WindowWithoutCloseEntryIgnoresTheCloseBox) {
  ASSERT_TRUE(forms::LoadWindow(SmallDialog()));
  HWND dialog = Frame(SmallDialog());
  EXPECT_EQ(GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND),
            static_cast<UINT>(-1));
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(forms::IsLoaded(SmallDialog()));
  // Not shown in the task bar: owned by the hidden owner.
  EXPECT_NE(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_EQ(Control(SmallDialog(), "编辑框_备注").GetText(), "第一行\r\n第二行");
  Backend().DestroyNow(SmallDialog());
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(forms::IsLoaded(SmallDialog()));
}

TEST_F(GuiTest, LoadingALoadedWindowMakesNoSecondInstance) {
  LoadEveryKindWindow();
  HWND first = Frame(EveryKindWindow());
  ASSERT_TRUE(forms::LoadWindow(EveryKindWindow()));
  EXPECT_EQ(Frame(EveryKindWindow()), first);
  EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "created"), 1);
}

TEST_F(GuiTest, TabMovesTheFocusInDefinitionOrder) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  SetForegroundWindow(frame);
  HWND edit = ControlWindow(EveryKindWindow(), "编辑框1");
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  PostMessageW(edit, WM_KEYDOWN, VK_TAB, 0);
  PostMessageW(edit, WM_KEYUP, VK_TAB, 0);
  HWND password = ControlWindow(EveryKindWindow(), "密码框");
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == password; }));
}

TEST_F(GuiTest, EnterClicksTheDefaultButton) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  SetForegroundWindow(frame);
  HWND edit = ControlWindow(EveryKindWindow(), "编辑框1");
  SetFocus(edit);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(edit, WM_KEYUP, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([&] { return Logged("button"); }));
}

TEST_F(GuiTest, EnterAndDeleteOnAListReachItsKeyEvent) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  SetForegroundWindow(frame);
  SetFocus(ControlWindow(EveryKindWindow(), "超级列表框1"));
  // Enter is the list's own, not the window's default button.
  PressKey(frame, VK_RETURN);
  PressKey(frame, VK_DELETE);
  EXPECT_TRUE(PumpUntil([&] { return Logged("list-key:13") && Logged("list-key:46"); }));
  EXPECT_FALSE(Logged("button"));
}

TEST_F(GuiTest, WorkPostedFromAnotherThreadRunsOnTheUiThread) {
  LoadEveryKindWindow();
  const DWORD uiThread = GetCurrentThreadId();
  std::atomic<DWORD> ranOn{0};
  std::thread worker([&] { Backend().PostToUiThread([&] { ranOn = GetCurrentThreadId(); }); });
  worker.join();
  EXPECT_TRUE(PumpUntil([&] { return ranOn != 0; }));
  EXPECT_EQ(ranOn, uiThread);
}

TEST_F(GuiTest, ListCallsFromAWorkerAreCarriedOutOnTheUiThread) {
  LoadEveryKindWindow();
  const auto& window = EveryKindWindow();
  const int list = Index(window, "超级列表框1");
  Backend().AppendRow(window, list, "工作线程行");
  std::atomic<bool> done{false};
  Text seen;
  std::thread worker([&] {
    Backend().SetCellText(window, list, 0, 3, "延迟 12ms");
    Backend().SetCellText(window, list, 0, 6, "上海市");
    seen = Backend().CellText(window, list, 0, 6);
    done = true;
  });
  const bool finished = PumpUntil([&] { return done.load(); });
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(seen, "上海市");
  EXPECT_EQ(Control(window, "超级列表框1").CellText(0, 6), "上海市");
}

TEST_F(GuiTest, BalloonTipShowsItsTextAndHidesOnTheNextClick) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  RECT outer{};
  GetWindowRect(frame, &outer);
  forms::Control(EveryKindWindow(), "气球提示框1")
      .ShowBalloon("请输入登录地址", {outer.left + 100, outer.top + 100});
  EXPECT_TRUE(PumpUntil([] { return VisibleBalloon() != nullptr; }));
  HWND tip = VisibleBalloon();
  ASSERT_NE(tip, nullptr);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = frame;
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"请输入登录地址");

  PostClick(frame, {5, 5});
  EXPECT_TRUE(PumpUntil([] { return VisibleBalloon() == nullptr; }));
}

// A balloon belongs to a window the user can use: a modal window over it (its window disabled)
// or its window hidden takes it away.
TEST_F(GuiTest, ABalloonGoesWhenItsWindowIsDisabledOrHidden) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  RECT outer{};
  GetWindowRect(frame, &outer);
  for (const auto& takeAway : {+[](HWND window) { EnableWindow(window, FALSE); },
                               +[](HWND window) { ShowWindow(window, SW_HIDE); }}) {
    forms::Control(EveryKindWindow(), "气球提示框1")
        .ShowBalloon("请输入登录地址", {outer.left + 100, outer.top + 100});
    ASSERT_TRUE(PumpUntil([] { return VisibleBalloon() != nullptr; }));
    takeAway(frame);  // at once, not when the balloon's time is up
    EXPECT_EQ(VisibleBalloon(), nullptr);
    EnableWindow(frame, TRUE);
    ShowWindow(frame, SW_SHOW);
  }
}

TEST_F(GuiTest, MessageBoxReturnsTheAnswerGiven) {
  std::atomic<bool> answered{false};
  std::thread user([&] {
    for (int attempt = 0; attempt < 2000 && !answered; ++attempt) {
      if (HWND box = FindWindowW(L"#32770", L"请确认")) {
        PostMessageW(box, WM_COMMAND, IDNO, 0);
        answered = true;
        return;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  });
  const int answer = forms::ShowMessageBox(
      "确实要删除吗？", forms::box::kYesNo | forms::box::kIconQuestion, "请确认");
  user.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(answer, forms::box::kAnswerNo);
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
  std::vector<COLORREF> pixels;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      pixels.push_back(ScreenPixel({x, y}));
    }
  }
  return pixels;
}

TEST_F(GuiTest, ATransparentLabelDrawnAgainLooksAsDrawnOnce) {
  LoadEveryKindWindow();
  RedrawWindow(Frame(EveryKindWindow()), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPending();
  HWND label = ControlWindow(EveryKindWindow(), "透明标签1");
  RECT text{};
  GetWindowRect(label, &text);
  text.right = text.left + 100;  // the first characters
  const std::vector<COLORREF> once = ScreenPixels(text);
  // The label alone, drawn again and again, as a static control does when its text is set.
  forms::Control control(EveryKindWindow(), "透明标签1");
  for (int round = 0; round < 8; ++round) {
    control.SetText(control.GetText());
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(ScreenPixels(text), once);
}

}  // namespace
}  // namespace lumora::gui_tests

namespace lumora::gui_tests {
namespace {

bool IsBlueText(COLORREF colour) {
  return GetBValue(colour) > 150 && GetRValue(colour) < 120 && GetGValue(colour) < 120;
}

TEST_F(GuiTest, PictureBoxAndTransparentLabelsPaintOverTheBackground) {
  LoadEveryKindWindow();
  HWND frame = Frame(EveryKindWindow());
  RedrawWindow(frame, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPending();
  if (const char* review = std::getenv("LUMORA_GUI_REVIEW_SHOT")) {
    SaveScreenshot(review);
  }
  const COLORREF background = RGB(255, 250, 220);

  // The logo covers the middle of the picture box.
  HWND picture = ControlWindow(EveryKindWindow(), "图片框1");
  RECT pictureRect{};
  GetWindowRect(picture, &pictureRect);
  int logoPixels = 0;
  for (int x = pictureRect.left; x < pictureRect.right; x += 4) {
    const COLORREF colour = ScreenPixel({x, (pictureRect.top + pictureRect.bottom) / 2});
    if (colour != background && colour != CLR_INVALID) {
      ++logoPixels;
    }
  }
  EXPECT_GT(logoPixels, 5);

  // The transparent label shows blue text straight on the window's background colour.
  HWND label = ControlWindow(EveryKindWindow(), "透明标签1");
  RECT labelRect{};
  GetWindowRect(label, &labelRect);
  int bluePixels = 0;
  int backgroundPixels = 0;
  for (int y = labelRect.top; y < labelRect.bottom; ++y) {
    for (int x = labelRect.left; x < labelRect.right; ++x) {
      const COLORREF colour = ScreenPixel({x, y});
      bluePixels += IsBlueText(colour) ? 1 : 0;
      backgroundPixels += colour == background ? 1 : 0;
    }
  }
  EXPECT_GT(bluePixels, 20);
  EXPECT_GT(backgroundPixels,
            (labelRect.right - labelRect.left) * (labelRect.bottom - labelRect.top) / 2);
}

}  // namespace
}  // namespace lumora::gui_tests
