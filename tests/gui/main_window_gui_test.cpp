// The real main window over a catalogue: its list columns, the rows with their cells, images and
// check boxes, the tips of the connect command and the about box.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
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
    PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
    if (forms::IsLoaded(MainWindow())) {
      Backend().DestroyNow(MainWindow());
    }
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
                             {"状态", 40},        {"延迟", 40}, {"备注信息", 290},
                             {"归属地", 160}};
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

}  // namespace
}  // namespace lumora::gui_tests
