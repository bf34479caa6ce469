// The real main window over a catalogue: its list columns, the rows with their cells, images and
// check boxes, the tips of the connect command and the about box.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "app/server_list.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "journey_screens.h"
#include "platform/code_page.h"
#include "platform/program_directory.h"
#include "seen_by_user.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "support/unresolvable_host.h"
#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;
using testing_support::ServerRow;

Text ToGbk(const std::wstring& text) {
  return platform::WideToGbk(std::u16string(text.begin(), text.end()));
}

class MainWindowGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
  }
  void TearDown() override {
    DestroyMainWindowAfterItsPasses();
    GuiTest::TearDown();
  }

  // Loads the main window over a catalogue holding `rows`.
  void Open(const std::vector<testing_support::CatalogueRow>& rows) {
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    list_ = ControlWindow(MainWindow(), "超级列表框1");
    toolbar_ = ControlWindow(MainWindow(), "工具条1");
  }

  void ClickToolbarButton(int index) {
    RECT button{};
    ASSERT_TRUE(SendMessageW(toolbar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    PostClick(toolbar_, Centre(button));
  }

  int RowImage(int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }

  bool RowTicked(int row) {
    const auto state = SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
  }

  // A point on the check box of `row`, found by asking the list what lies where.
  POINT CheckBoxPoint(int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = {x, y};
      if (SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
          (hit.flags & LVHT_ONITEMSTATEICON)) {
        return hit.pt;
      }
    }
    return {-1, -1};
  }

  std::wstring TipText() {
    std::wstring text;
    PumpUntil([&] { return VisibleBalloonText(text) && !text.empty(); });
    return text;
  }

  testing_support::TempDirectory directory_;
  HWND list_ = nullptr;
  HWND toolbar_ = nullptr;
};

TEST_F(MainWindowGuiTest, ColumnsHaveTheirHeadersAndWidths) {
  Open({});
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  struct Column {
    const char* caption;
    int width;
  };
  const Column expected[] = {{"Lumora地址", 160}, {"端口", 50}, {"登录用户名", 100},
                             {"状态", 40},        {"延迟", 40}, {"备注信息", 125},
                             {"归属地", 105}};
  ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 7);
  for (int column = 0; column < 7; ++column) {
    wchar_t caption[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = caption;
    item.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(ToGbk(caption), expected[column].caption) << column;
    EXPECT_EQ(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0), expected[column].width) << column;
  }
}

TEST_F(MainWindowGuiTest, TheSupportLineNamesTheGuideThatShipsWithTheProgram) {
  Open({});
  const std::wstring line = WindowText(ControlWindow(MainWindow(), "标签1"));
  EXPECT_NE(line.find(L"README.txt"), std::wstring::npos);
  EXPECT_EQ(line.find(L"http"), std::wstring::npos);
}

TEST_F(MainWindowGuiTest, TheSupportLineIsDrawnOnTheStatusBarInItsColours) {
  Open({});
  HWND line = ControlWindow(MainWindow(), "标签1");
  HWND bar = ControlWindow(MainWindow(), "状态条1");
  EXPECT_EQ(GetParent(line), bar);
  RedrawWindow(Frame(MainWindow()), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT lineRect{};
  GetWindowRect(line, &lineRect);
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  // Past the end of the text, and on the bar beyond the line.
  const COLORREF underLine =
      ScreenPixel({lineRect.right - 2, (lineRect.top + lineRect.bottom) / 2});
  const COLORREF onBar = ScreenPixel({lineRect.right + 20, (lineRect.top + lineRect.bottom) / 2});
  EXPECT_EQ(underLine, onBar);
  EXPECT_NE(underLine, RGB(255, 255, 255));
  EXPECT_LE(lineRect.bottom, barRect.bottom);
}

TEST_F(MainWindowGuiTest, RowsCarryTheCataloguesCellsAndTurnOnlineOrOffline) {
  testing_support::CatalogueRow domained = ServerRow("127.0.0.2", "3390", "运维", "x", "收银台");
  domained[4].second = "WORKGROUP";
  Open({ServerRow("127.0.0.1", "3389", "administrator", "pw", "本机"), domained,
        ServerRow(testing_support::kUnresolvableHost, "", "", "", "")});
  ASSERT_EQ(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 3);
  // Nothing has been probed before the first messages run: every row shows the new image.
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(RowImage(row), 3) << row;
  }
  forms::Control list = forms::ServerList();
  EXPECT_EQ(list.CellText(0, 0), "127.0.0.1");
  EXPECT_EQ(list.CellText(0, 1), "3389");
  EXPECT_EQ(list.CellText(0, 2), "administrator");
  EXPECT_EQ(list.CellText(0, 5), "本机");
  EXPECT_EQ(list.CellText(1, 2), "运维");
  EXPECT_EQ(list.CellText(1, 5), "收银台");
  EXPECT_EQ(list.CellText(1, 7), "WORKGROUP");
  EXPECT_EQ(list.CellText(2, 1), "");

  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  ASSERT_TRUE(PumpUntil([&] { return list.CellText(2, 3) == "离线"; }));
  EXPECT_EQ(list.CellText(0, 3), "在线");
  EXPECT_EQ(RowImage(0), 1);
  EXPECT_EQ(RowImage(1), 1);
  EXPECT_EQ(RowImage(2), 0);
  EXPECT_EQ(list.CellText(2, 4), "超时");
}

// A refresh and its reachability pass leave the list where the user has it: the same first row in
// view, the same server selected and visible.
TEST_F(MainWindowGuiTest, ARefreshKeepsTheViewAndTheSelectedServer) {
  std::vector<testing_support::CatalogueRow> rows;
  for (int row = 0; row < 300; ++row) {
    rows.push_back(
        ServerRow("127.0." + std::to_string(1 + row / 200) + "." + std::to_string(1 + row % 200)));
  }
  Open(rows);
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  forms::ServerList().ScrollToTopRow(120);
  ASSERT_EQ(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0), 120);
  RECT aimed{LVIR_LABEL, 0, 0, 0};
  SendMessageW(list_, LVM_GETITEMRECT, 125, reinterpret_cast<LPARAM>(&aimed));
  PostClick(list_, Centre(aimed));
  const auto selected = [&] {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  };
  ASSERT_TRUE(PumpUntil([&] { return selected() == 125; }));
  const Text host = forms::ServerList().CellText(125, forms::server_cell::kHost);

  // The pass writes every row's delay cell again, the last one too.
  forms::ServerList().SetCellText(299, forms::server_cell::kDelay, "-");
  ClickToolbarButton(forms::main_toolbar::kRefresh);
  ASSERT_TRUE(PumpUntil([] {
    return status::ReachabilityPassesRunning() == 0 &&
           forms::ServerList().CellText(299, forms::server_cell::kDelay) != "-";
  }));
  EXPECT_EQ(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0), 120);
  ASSERT_GE(selected(), 0);
  EXPECT_EQ(forms::ServerList().CellText(selected(), forms::server_cell::kHost), host);
  RECT shown{LVIR_BOUNDS, 0, 0, 0};
  RECT client{};
  SendMessageW(list_, LVM_GETITEMRECT, selected(), reinterpret_cast<LPARAM>(&shown));
  GetClientRect(list_, &client);
  EXPECT_TRUE(shown.top >= 0 && shown.bottom <= client.bottom) << shown.top;
}

// A remark of several lines shows them side by side in its cell; read back, it keeps its lines.
TEST_F(MainWindowGuiTest, ARemarkOfSeveralLinesShowsThemWithBlanks) {
  Open({ServerRow("127.0.0.1", "3389", "u", "", "一楼\r\n收银台\n左")});
  wchar_t shown[64] = {};
  LVITEMW item{};
  item.iSubItem = forms::server_cell::kRemark;
  item.pszText = shown;
  item.cchTextMax = 64;
  SendMessageW(list_, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(shown), L"一楼 收银台 左");
  EXPECT_EQ(forms::ServerList().CellText(0, forms::server_cell::kRemark), "一楼\r\n收银台\n左");
  forms::ServerList().SetCellText(0, forms::server_cell::kRemark, "一行");
  EXPECT_EQ(forms::ServerList().CellText(0, forms::server_cell::kRemark), "一行");
}

TEST_F(MainWindowGuiTest, CheckBoxesTickWithAClick) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  for (int row = 0; row < 3; ++row) {
    EXPECT_FALSE(RowTicked(row)) << row;
  }
  for (const int row : {2, 0}) {
    const POINT box = CheckBoxPoint(row);
    ASSERT_GE(box.x, 0) << row;
    PostClick(list_, box);
    ASSERT_TRUE(PumpUntil([&] { return RowTicked(row); })) << row;
  }
  EXPECT_EQ(forms::TickedRows(forms::ServerList()), (std::vector<int>{0, 2}));
}

TEST_F(MainWindowGuiTest, ConnectWithAnEmptyListSaysSo) {
  Open({});
  ClickToolbarButton(forms::main_toolbar::kConnect);
  EXPECT_EQ(ToGbk(TipText()), "服务器列表是空的!");
}

TEST_F(MainWindowGuiTest, ConnectWithoutASelectedRowAsksForOne) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  ClickToolbarButton(forms::main_toolbar::kConnect);
  EXPECT_EQ(ToGbk(TipText()), "请选择要连接的服务器！");
}

// A balloon points where the user looks: at the pointer after a click, at the list (which has the
// keyboard focus) after a key, wherever the pointer is then.
TEST_F(MainWindowGuiTest, ABalloonPointsAtThePointerForAClickAndAtTheFocusForAKey) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  const auto pointsAt = [](HWND balloon, POINT point) {
    RECT area{};
    GetWindowRect(balloon, &area);
    InflateRect(&area, 8, 8);
    return PtInRect(&area, point) != FALSE;
  };
  RECT button{};
  SendMessageW(toolbar_, TB_GETITEMRECT, forms::main_toolbar::kConnect,
               reinterpret_cast<LPARAM>(&button));
  POINT pointer = Centre(button);
  ClientToScreen(toolbar_, &pointer);
  SetCursorPos(pointer.x, pointer.y);
  ClickToolbarButton(forms::main_toolbar::kConnect);
  ASSERT_EQ(ToGbk(TipText()), "请选择要连接的服务器！");
  EXPECT_TRUE(pointsAt(VisibleBalloon(), pointer));

  PostClick(list_, {-5, -5});  // a click elsewhere takes the balloon down
  ASSERT_TRUE(PumpUntil([] { return VisibleBalloon() == nullptr; }));
  RECT frame{};
  GetWindowRect(Frame(MainWindow()), &frame);
  SetCursorPos(frame.right + 20, frame.bottom + 20);
  SetFocus(list_);
  PressKey(list_, VK_RETURN);
  ASSERT_EQ(ToGbk(TipText()), "请选择要连接的服务器！");
  RECT balloon{};
  GetWindowRect(VisibleBalloon(), &balloon);
  RECT listArea{};
  GetWindowRect(list_, &listArea);
  const POINT balloonTop{(balloon.left + balloon.right) / 2, balloon.top};
  EXPECT_TRUE(PtInRect(&listArea, balloonTop))
      << "balloon at " << balloon.left << "," << balloon.top << ", list " << listArea.left << ","
      << listArea.top << "-" << listArea.right << "," << listArea.bottom;
}

// The button's tooltip shows when the pointer rests on it, but not over the balloon its click
// raised. The screenshot build/screens/balloon_without_tooltip.bmp shows the balloon whole.
TEST_F(MainWindowGuiTest, NoToolbarTooltipCoversTheBalloonItsButtonRaised) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  RECT button{};
  SendMessageW(toolbar_, TB_GETITEMRECT, forms::main_toolbar::kModify,
               reinterpret_cast<LPARAM>(&button));
  const POINT onButton = Centre(button);
  const auto restOnButton = [&] {
    POINT screen = onButton;
    ClientToScreen(toolbar_, &screen);
    SetCursorPos(screen.x + 1, screen.y);
    PostMessageW(toolbar_, WM_MOUSEMOVE, 0, MAKELPARAM(onButton.x + 1, onButton.y));
    SetCursorPos(screen.x, screen.y);
    PostMessageW(toolbar_, WM_MOUSEMOVE, 0, MAKELPARAM(onButton.x, onButton.y));
  };
  const auto toolbarTipShown = [] { return VisibleTooltip() != nullptr; };
  restOnButton();
  ASSERT_TRUE(PumpUntil(toolbarTipShown));  // without a balloon, the tooltip comes

  ClickToolbarButton(forms::main_toolbar::kModify);
  ASSERT_EQ(ToGbk(TipText()), "请选中要修改的服务器！");
  restOnButton();
  // As long as the balloon stays, the tooltip would have come twice over.
  PumpUntil([&] { return toolbarTipShown() || VisibleBalloon() == nullptr; });
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/balloon_without_tooltip.bmp"));
  EXPECT_FALSE(toolbarTipShown());
}

// A click on a header orders the view by that column (the port by its number), a second click
// the other way; commands still take the server the user sees, and a refresh keeps the order.
// The screenshot build/screens/list_sorted.bmp shows the arrow of a header wide enough for it.
TEST_F(MainWindowGuiTest, AHeaderClickSortsTheViewAndCommandsKeepTheirServer) {
  Open({ServerRow("127.0.0.3", "3390"), ServerRow("127.0.0.1", "80"),
        ServerRow("127.0.0.2", "443")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  const auto clickHeader = [&](int column) {
    RECT item{};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    PostClick(header, Centre(item));
  };
  const auto shownHosts = [&] {
    std::vector<std::wstring> hosts;
    const auto count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
      wchar_t text[64] = {};
      LVITEMW read{};
      read.pszText = text;
      read.cchTextMax = 64;
      SendMessageW(list_, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&read));
      hosts.emplace_back(text);
    }
    return hosts;
  };
  const std::vector<std::wstring> byPort = {L"127.0.0.1", L"127.0.0.2", L"127.0.0.3"};
  const std::vector<std::wstring> byPortDown = {L"127.0.0.3", L"127.0.0.2", L"127.0.0.1"};
  clickHeader(forms::server_cell::kPort);
  EXPECT_TRUE(PumpUntil([&] { return shownHosts() == byPort; }));  // 80, 443, 3390
  clickHeader(forms::server_cell::kPort);
  EXPECT_TRUE(PumpUntil([&] { return shownHosts() == byPortDown; }));

  // The row shown first is the catalogue's last: selecting it selects 127.0.0.3.
  PostClick(list_, RowCentre(list_, 0));
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().CurrentRow() >= 0; }));
  const forms::Control list = forms::ServerList();
  EXPECT_EQ(list.CellText(list.CurrentRow(), forms::server_cell::kHost), "127.0.0.3");

  app::FillServerList();  // as 刷新 does
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  EXPECT_EQ(shownHosts(), byPortDown);
  EXPECT_EQ(list.CellText(list.CurrentRow(), forms::server_cell::kHost), "127.0.0.3");
  EXPECT_EQ(list.CellText(list.TopRow(), forms::server_cell::kHost), "127.0.0.3");
  clickHeader(forms::server_cell::kHost);
  EXPECT_TRUE(PumpUntil([&] { return shownHosts() == byPort; }));
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/list_sorted.bmp"));
}

// Tab leads from the list to the toolbar, the arrows move among its buttons and Enter presses
// the one that stands out, as a click would; Tab again goes back to the list. The screenshot
// build/screens/toolbar_keyboard.bmp shows the highlighted button.
TEST_F(MainWindowGuiTest, TabReachesTheToolbarWhoseButtonsTheKeysPress) {
  Open({ServerRow("127.0.0.1")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  SetFocus(list_);
  PressKey(list_, VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == toolbar_; }));
  EXPECT_EQ(SendMessageW(toolbar_, TB_GETHOTITEM, 0, 0), forms::main_toolbar::kConnect);
  PressKey(toolbar_, VK_RIGHT);
  PressKey(toolbar_, VK_RIGHT);
  ASSERT_TRUE(PumpUntil(
      [&] { return SendMessageW(toolbar_, TB_GETHOTITEM, 0, 0) == forms::main_toolbar::kModify; }));
  PumpPending();
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/toolbar_keyboard.bmp"));
  PressKey(toolbar_, VK_RETURN);
  EXPECT_EQ(ToGbk(TipText()), "请选中要修改的服务器！");
  PressKey(toolbar_, VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == list_; }));
}

TEST_F(MainWindowGuiTest, AboutBoxShowsItsTitleIconAndLines) {
  Open({});
  MessageBoxWatcher watcher;
  ClickToolbarButton(forms::main_toolbar::kAbout);
  ASSERT_TRUE(PumpUntil([&] { return watcher.Seen(); }));
  PumpPending();
  EXPECT_EQ(ToGbk(watcher.Box().title), "关于文档");
  const Text text = ToGbk(watcher.Box().text);
  const Text expectedStart =
      "       Tarn远程管理系统\r\n\r\n  本程序用于网吧﹑服务器管理员等。\r\n\r\n"
      "方便多计算机用户管理及远程协助使用。\r\n\r\n                     请勿非法使用!\r\n\r\n"
      "              ";
  EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
  EXPECT_TRUE(watcher.Box().informationIcon);
  EXPECT_TRUE(watcher.Box().onlyAnOkButton);
  EXPECT_FALSE(watcher.Box().hasOwner);
}

// Forty rows: more than the list shows, so that its vertical scroll bar is up.
std::vector<testing_support::CatalogueRow> ManyRows(const Text& remark = "") {
  std::vector<testing_support::CatalogueRow> rows;
  for (int row = 1; row <= 40; ++row) {
    rows.push_back(ServerRow("127.0.1." + std::to_string(row), "3389", "admin", "", remark));
  }
  return rows;
}

TEST_F(MainWindowGuiTest, EveryColumnFitsBesideTheVerticalScrollBar) {
  Open(ManyRows());
  ASSERT_TRUE(PumpUntil([&] { return (GetWindowLongW(list_, GWL_STYLE) & WS_VSCROLL) != 0; }));
  RECT client{};
  GetClientRect(list_, &client);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  RECT location{};
  ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&location)));
  EXPECT_LE(location.right, client.right);
  EXPECT_FALSE(GetWindowLongW(list_, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(MainWindowGuiTest, TheSidewaysArrowsScrollAUsableStep) {
  Open(ManyRows());
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, 5, 600);
  ASSERT_TRUE(PumpUntil([&] { return (GetWindowLongW(list_, GWL_STYLE) & WS_HSCROLL) != 0; }));
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  auto firstColumnLeft = [&] {
    RECT first{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    POINT corner{first.left, 0};
    MapWindowPoints(header, list_, &corner, 1);
    return corner.x;
  };
  const int before = firstColumnLeft();
  SendMessageW(list_, WM_HSCROLL, SB_LINERIGHT, 0);
  PumpPending();
  EXPECT_LE(firstColumnLeft(), before - 8);
}

// The visible tooltip over `list` that shows a cut cell, and its text.
bool VisibleCellTip(HWND list, std::wstring& text) {
  HWND tip = VisibleTooltip();
  if (tip == nullptr) {
    return false;
  }
  wchar_t buffer[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(list);
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = buffer;
  SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  text = buffer;
  return true;
}

TEST_F(MainWindowGuiTest, ACutCellShowsWholeAsATooltip) {
  const Text remark = "收银台旁边第三排靠窗的那台机器，周末由夜班管理员负责";
  Open({ServerRow("127.0.0.1", "3389", "admin", "", remark),
        ServerRow("127.0.0.2", "3389", "admin", "", "短")});
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  auto hover = [&](int row, int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(list_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    const POINT point = Centre(cell);
    POINT screen = point;
    ClientToScreen(list_, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(list_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  };
  std::wstring text;
  hover(0, 5);
  ASSERT_TRUE(PumpUntil([&] { return VisibleCellTip(list_, text); }));
  EXPECT_EQ(ToGbk(text), remark);
  hover(1, 5);  // a remark that fits: no tip
  EXPECT_TRUE(PumpUntil([&] { return !VisibleCellTip(list_, text); }));
  hover(0, 0);
  PumpPending();
  EXPECT_FALSE(VisibleCellTip(list_, text));
}

TEST_F(MainWindowGuiTest, TheMenuKeyOpensTheToolbarCommandsOnTheList) {
  Open({ServerRow("127.0.0.1")});
  SetFocus(list_);
  SetCursorPos(0, 0);  // a pointer left over the menu would pick its item
  bool sawMenu = false;
  AnsweredBox about;
  UserThread user([&] {
    PressKey(list_, VK_APPS);
    sawMenu = WaitUntil([] {
      HWND menu = FindWindowW(L"#32768", nullptr);
      return menu != nullptr && IsWindowVisible(menu);
    });
    PressKey(list_, VK_UP);  // from no item, the last: 使用说明
    PressKey(list_, VK_RETURN);
    about = AnswerMessageBox(IDOK);
  });
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  user.Finish();
  EXPECT_TRUE(sawMenu);
  EXPECT_EQ(ToGbk(about.title), "关于文档");
}

}  // namespace
}  // namespace lumora::gui_tests
