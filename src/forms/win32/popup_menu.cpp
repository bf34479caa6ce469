#include "forms/win32/popup_menu.h"

#include <commctrl.h>

#include <string>

#include "forms/win32/wide_text.h"
#include "platform/win32/unique_handle.h"

namespace lumora::forms::win32 {
namespace {

void DestroyMenuHandle(HMENU menu) {
  DestroyMenu(menu);
}
using UniqueMenu = platform::win32::UniqueHandle<HMENU, DestroyMenuHandle>;

// Where a menu asked for from the keyboard opens: below the list's current row, else at the
// control's top-left corner.
POINT KeyboardMenuPosition(HWND control) {
  POINT point{0, 0};
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  if (std::wstring(className) == WC_LISTVIEWW) {
    const auto row = static_cast<int>(
        SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT rect{};
    rect.left = LVIR_LABEL;
    if (row >= 0 && SendMessageW(control, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect))) {
      point = {rect.left, rect.bottom};
    }
  }
  ClientToScreen(control, &point);
  return point;
}

}  // namespace

int ChoosePopupMenuItem(HWND frame, HWND control, std::span<const Text> items,
                        Point screenPosition) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) {
    return -1;
  }
  for (std::size_t item = 0; item < items.size(); ++item) {
    const std::wstring caption = ToWide(items[item]);
    // Command 0 means no choice, so item i is command i + 1.
    const BOOL added = caption.empty()
                           ? AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr)
                           : AppendMenuW(menu.get(), MF_STRING, item + 1, caption.c_str());
    if (!added) {
      return -1;
    }
  }
  POINT at{screenPosition.x, screenPosition.y};
  if (at.x == -1 && at.y == -1) {
    at = KeyboardMenuPosition(control);
  }
  const auto command = static_cast<int>(
      TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                       at.x, at.y, frame, nullptr));
  return command - 1;
}

}  // namespace lumora::forms::win32
