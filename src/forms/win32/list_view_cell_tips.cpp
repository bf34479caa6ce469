#include "forms/win32/list_view_cell_tips.h"

#include <windowsx.h>

#include <commctrl.h>

#include <string>

#include "forms/win32/list_view.h"
#include "forms/win32/wide_text.h"

namespace lumora::forms::win32::list_view {
namespace {

constexpr int kMaximumWidth = 400;
// The room a list view leaves between a cell's edges and its text.
constexpr int kCellPadding = 12;

TTTOOLINFOW ToolInfo(HWND list, wchar_t* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(list);
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = text;
  return tool;
}

// The whole text of the cell at `point` when the cell is too narrow to show it or shows its lines
// as blanks, else empty.
std::wstring CutText(HWND list, const ListRowStore& store, POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  if (SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 ||
      hit.iItem < 0) {
    return {};
  }
  std::wstring text = ColumnText(list, hit.iItem, hit.iSubItem);
  if (text.empty()) {
    return {};
  }
  const std::wstring whole =
      ToWide(CellText(list, store, RowShownAt(store, hit.iItem), hit.iSubItem));
  if (whole != text) {
    return whole;
  }
  RECT cell{};
  cell.top = hit.iSubItem;
  cell.left = LVIR_LABEL;
  if (!SendMessageW(list, LVM_GETSUBITEMRECT, hit.iItem, reinterpret_cast<LPARAM>(&cell))) {
    return {};
  }
  const auto needed = static_cast<int>(
      SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
  return needed + kCellPadding > cell.right - cell.left ? text : std::wstring();
}

std::wstring ShownText(HWND tips, HWND list) {
  wchar_t buffer[1024] = {};
  TTTOOLINFOW tool = ToolInfo(list, buffer);
  SendMessageW(tips, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&tool));
  return buffer;
}

}  // namespace

HWND CreateCellTips(HWND list) {
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, GetParent(list), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (tips == nullptr) {
    return nullptr;
  }
  wchar_t empty[] = L"";
  TTTOOLINFOW tool = ToolInfo(list, empty);
  SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, kMaximumWidth);
  return tips;
}

void FollowMouse(HWND list, const ListRowStore& store, HWND tips, const MSG& message) {
  if (tips == nullptr) {
    return;
  }
  if (message.message == WM_MOUSEMOVE) {
    std::wstring text =
        CutText(list, store, {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
    if (text != ShownText(tips, list)) {
      // A tip of another cell goes at once; the new one shows after the usual pause.
      SendMessageW(tips, TTM_POP, 0, 0);
      TTTOOLINFOW tool = ToolInfo(list, text.data());
      SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  MSG relayed = message;
  SendMessageW(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

}  // namespace lumora::forms::win32::list_view
