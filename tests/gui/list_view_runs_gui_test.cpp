// Rows added on the user-interface thread in one run are laid out and drawn once that thread
// reads its messages again; until then the list must still scroll and answer as usual.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "forms/window_model.h"
#include "gui_fixture.h"
#include "gui_test_windows.h"

namespace lumora::gui_tests {
namespace {

using forms::Control;

constexpr char kList[] = "超级列表框1";
constexpr int kRows = 60;

void AppendRows(Control& list) {
  for (int row = 0; row < kRows; ++row) {
    list.AppendRow("10.0.0." + std::to_string(row));
  }
}

// Pixels of the row's label that differ from the list's white background (its text).
int TextPixels(HWND list, int row) {
  RECT label{};
  label.left = LVIR_LABEL;
  if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label))) {
    return 0;
  }
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&label), 2);
  int pixels = 0;
  for (int y = label.top + 1; y < label.bottom - 1; ++y) {
    for (int x = label.left + 1; x < label.right - 1; ++x) {
      const COLORREF colour = ScreenPixel({x, y});
      pixels += colour != RGB(255, 255, 255) && colour != CLR_INVALID ? 1 : 0;
    }
  }
  return pixels;
}

class ListViewRunTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    LoadEveryKindWindow();
    window_ = ControlWindow(EveryKindWindow(), kList);
  }

  void DrawPending() {
    PumpPending();
    UpdateWindow(window_);
    PumpPending();
  }

  HWND window_ = nullptr;
};

TEST_F(ListViewRunTest, RowsAddedInARunAreDrawnAndScrollableOnceMessagesRun) {
  Control list(EveryKindWindow(), kList);
  AppendRows(list);
  list.SetCellText(0, 1, "3389");
  DrawPending();

  EXPECT_GT(TextPixels(window_, 0), 10);
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_RANGE | SIF_PAGE;
  ASSERT_TRUE(GetScrollInfo(window_, SB_VERT, &scroll));
  EXPECT_GE(scroll.nMax + 1, kRows);
  EXPECT_LT(static_cast<int>(scroll.nPage), kRows);

  // A refill draws its new rows in place of the old ones.
  list.DeleteAllRows();
  list.AppendRow("");
  DrawPending();
  EXPECT_EQ(TextPixels(window_, 0), 0);
}

TEST_F(ListViewRunTest, ScrollingWithinARunReachesARowAddedInIt) {
  Control list(EveryKindWindow(), kList);
  AppendRows(list);
  list.EnsureRowVisible(kRows - 5);

  const auto top = static_cast<int>(SendMessageW(window_, LVM_GETTOPINDEX, 0, 0));
  const auto shown = static_cast<int>(SendMessageW(window_, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_LE(top, kRows - 5);
  EXPECT_GT(top + shown, kRows - 5);
  DrawPending();
  EXPECT_GT(TextPixels(window_, kRows - 5), 10);
}

TEST_F(ListViewRunTest, AListClosedWithinARunLeavesTheNextOneDrawing) {
  Control list(EveryKindWindow(), kList);
  AppendRows(list);
  Backend().DestroyNow(EveryKindWindow());
  PumpPending();

  LoadEveryKindWindow();
  window_ = ControlWindow(EveryKindWindow(), kList);
  Control reloaded(EveryKindWindow(), kList);
  AppendRows(reloaded);
  DrawPending();
  EXPECT_GT(TextPixels(window_, 0), 10);
}

}  // namespace
}  // namespace lumora::gui_tests
