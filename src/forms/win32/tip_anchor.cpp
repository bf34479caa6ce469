#include "forms/win32/tip_anchor.h"

#include <commctrl.h>

#include <algorithm>

namespace lumora::forms::win32 {
namespace {

// Just below the middle of `area`: the balloon's stem points up at it.
Point BelowMiddle(const RECT& area) {
  return {(area.left + area.right) / 2, area.bottom};
}

// The screen area that stands for `control`: a list's current row when it is in view, the whole
// control otherwise.
RECT FocusArea(HWND control) {
  RECT area{};
  GetWindowRect(control, &area);
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  if (lstrcmpiW(className, WC_LISTVIEWW) != 0) {
    return area;
  }
  const auto row = static_cast<int>(SendMessageW(control, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
  RECT rowArea{};
  rowArea.left = LVIR_BOUNDS;
  RECT client{};
  GetClientRect(control, &client);
  RECT visible{};
  if (row >= 0 && SendMessageW(control, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rowArea)) &&
      IntersectRect(&visible, &rowArea, &client)) {
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&visible), 2);
    return visible;
  }
  // No row in view: the top of the list, where its rows begin, rather than its far bottom edge.
  constexpr int kRowsStart = 40;
  area.bottom = std::min(area.bottom, area.top + kRowsStart);
  return area;
}

}  // namespace

Point TipAnchor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return {cursor.x, cursor.y};
}

Point TipAnchor(const FrameState& frame, bool fromKeyboard) {
  RECT frameArea{};
  GetWindowRect(frame.window, &frameArea);
  const Point cursor = TipAnchor();
  if (!fromKeyboard && PtInRect(&frameArea, POINT{cursor.x, cursor.y})) {
    return cursor;
  }
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(frame.window, focus) && IsWindowVisible(focus)) {
    return BelowMiddle(FocusArea(focus));
  }
  RECT client{};
  GetClientRect(frame.window, &client);
  MapWindowPoints(frame.window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
}

}  // namespace lumora::forms::win32
