#include "seen_by_user.h"

#include <commctrl.h>

#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

// The box's text control and its icon control, as both Windows and Wine number them.
constexpr int kTextId = 0xFFFF;
constexpr int kWindowsIconId = 0x14;
constexpr int kWineIconId = 0x440;

BOOL CALLBACK NoteOwnMessageBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HICON BoxIcon(HWND box) {
  for (const int id : {kWindowsIconId, kWineIconId}) {
    if (HWND control = GetDlgItem(box, id)) {
      if (auto icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0))) {
        return icon;
      }
    }
  }
  return nullptr;
}

SeenMessageBox Read(HWND box) {
  SeenMessageBox seen;
  seen.title = WindowText(box);
  seen.text = WindowText(GetDlgItem(box, kTextId));
  const HICON icon = BoxIcon(box);
  seen.informationIcon = icon != nullptr && icon == LoadIconW(nullptr, IDI_INFORMATION);
  seen.exclamationIcon = icon != nullptr && icon == LoadIconW(nullptr, IDI_EXCLAMATION);
  seen.onlyAnOkButton = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
                        GetDlgItem(box, IDYES) == nullptr && GetDlgItem(box, IDNO) == nullptr;
  seen.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
  return seen;
}

template <bool balloon>
BOOL CALLBACK NoteVisibleTip(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) == TOOLTIPS_CLASSW && IsWindowVisible(window) &&
      ((GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) != 0) == balloon) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher()
    : thread_([this] {
        for (int round = 0; round < 3000 && !stop_; ++round) {
          HWND box = nullptr;
          EnumWindows(NoteOwnMessageBox, reinterpret_cast<LPARAM>(&box));
          if (box != nullptr) {
            // A box may be shown a moment before its text and buttons are in place.
            WaitUntil([box] {
              return !WindowText(GetDlgItem(box, kTextId)).empty() &&
                     (GetDlgItem(box, IDOK) != nullptr || GetDlgItem(box, IDYES) != nullptr);
            });
            box_ = Read(box);
            seen_ = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
          }
          Sleep(10);
        }
      }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

HWND VisibleBalloon() {
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), NoteVisibleTip<true>, reinterpret_cast<LPARAM>(&tip));
  return tip;
}

HWND VisibleTooltip() {
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), NoteVisibleTip<false>, reinterpret_cast<LPARAM>(&tip));
  return tip;
}

bool VisibleBalloonText(std::wstring& text) {
  HWND tip = VisibleBalloon();
  if (tip == nullptr) {
    return false;
  }
  wchar_t buffer[256] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(tip) != nullptr ? GetParent(tip) : GetWindow(tip, GW_OWNER);
  tool.uId = 1;
  tool.lpszText = buffer;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  text = buffer;
  return true;
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT RowCentre(HWND list, int row) {
  RECT rect{};
  rect.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return Centre(rect);
}

}  // namespace lumora::gui_tests
