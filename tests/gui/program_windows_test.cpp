// The program's own window definitions built by the real window system.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"

namespace lumora::gui_tests {
namespace {

using forms::Control;

TEST_F(GuiTest, MainWindowBuildsItsToolbarAndServerList) {
  const forms::WindowDefinition& main = forms::MainWindow();
  forms::RegisterWindow(main, {});
  ASSERT_TRUE(forms::LoadWindow(main));
  PumpPending();

  HWND toolbar = ControlWindow(main, "工具条1");
  ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 11);
  for (int index = 0; index < 11; ++index) {
    TBBUTTON button{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)));
    const bool hidden = index == 5 || index == 6 || index == 10;
    EXPECT_EQ((button.fsState & TBSTATE_HIDDEN) != 0, hidden) << index;
  }
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 8);
  int imageWidth = 0;
  int imageHeight = 0;
  ImageList_GetIconSize(images, &imageWidth, &imageHeight);
  EXPECT_EQ(imageWidth, 48);
  EXPECT_EQ(imageHeight, 29);

  HWND list = ControlWindow(main, "超级列表框1");
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  // The six defined columns and the location column.
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 7);
  const auto extended = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  const auto rowIcons =
      reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(rowIcons, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(rowIcons), 4);

  // The toolbar, docked at the top, leaves the list where the definition puts it.
  RECT toolbarRect{};
  GetWindowRect(toolbar, &toolbarRect);
  MapWindowPoints(nullptr, Frame(main), reinterpret_cast<POINT*>(&toolbarRect), 2);
  EXPECT_EQ(toolbarRect.top, 0);
  EXPECT_LE(toolbarRect.bottom, 60);

  if (const char* review = std::getenv("LUMORA_GUI_REVIEW_MAIN")) {
    Control rows(main, "超级列表框1");
    for (int row = 0; row < 4; ++row) {
      rows.AppendRow("10.0.0." + std::to_string(row + 1));
      rows.SetCellText(row, 1, "3389");
      rows.SetCellText(row, 2, "管理员");
      rows.SetCellText(row, 3, row % 2 == 0 ? "在线" : "离线");
      rows.SetCellText(row, 5, "机房服务器");
      rows.SetRowImage(row, row);
      rows.SetRowChecked(row, row == 1);
    }
    rows.SetCurrentRow(2);
    PumpPending();
    SaveScreenshot(review);
  }
}

TEST_F(GuiTest, LoginWindowShowsOnlyItsLogoUntilAHandlerDecides) {
  const forms::WindowDefinition& login = forms::LoginWindow();
  forms::RegisterWindow(login, {});
  ASSERT_TRUE(forms::LoadWindow(login));
  PumpPending();
  EXPECT_TRUE(Control(login, "图片框1").Visible());
  for (const char* hidden : {"透明标签1", "按钮_登录", "编辑框1", "按钮_启动"}) {
    EXPECT_FALSE(Control(login, hidden).Visible()) << hidden;
  }
  HWND password = ControlWindow(login, "编辑框1");
  EXPECT_TRUE(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');

  RECT outer{};
  GetWindowRect(Frame(login), &outer);
  EXPECT_EQ(outer.right - outer.left, 387);
  EXPECT_EQ(outer.bottom - outer.top, 252);

  if (const char* review = std::getenv("LUMORA_GUI_REVIEW_LOGIN")) {
    for (const char* shown : {"透明标签1", "按钮_登录", "编辑框1"}) {
      Control(login, shown).SetVisible(true);
    }
    PumpPending();
    SaveScreenshot(review);
  }
}

}  // namespace
}  // namespace lumora::gui_tests
