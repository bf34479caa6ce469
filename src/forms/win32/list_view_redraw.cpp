#include "forms/win32/list_view_redraw.h"

#include <commctrl.h>

#include <unordered_set>

#include "forms/win32/exception_barrier.h"

namespace lumora::forms::win32::list_view {
namespace {

// Posted to the held list itself; its subclass, present only while the hold lasts, ends it.
constexpr UINT kMsgResumeRedraw = WM_APP + 16;
constexpr UINT_PTR kHoldSubclassId = 1;

// The lists held now. Only the user-interface thread holds and resumes; a set in memory, since a
// window property costs a round trip to the Wine server on every change of a row.
std::unordered_set<HWND>& HeldLists() {
  static std::unordered_set<HWND> lists;
  return lists;
}

LRESULT CALLBACK HeldListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR data);

LRESULT HeldListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id) {
  if (message == kMsgResumeRedraw) {
    ResumeRedraw(list);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    HeldLists().erase(list);
    RemoveWindowSubclass(list, HeldListProc, id);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

LRESULT CALLBACK HeldListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR) {
  return Guarded([&] { return HeldListMessage(list, message, wParam, lParam, id); });
}

bool IsHeld(HWND list) {
  return HeldLists().count(list) != 0;
}

}  // namespace

// A list view that draws while it changes updates its scroll bars and scrolls or repaints on
// every inserted row; under Wine that costs 5 to 50 ms a row, growing with the row count.
void HoldRedraw(HWND list) {
  if (IsHeld(list) || !SetWindowSubclass(list, HeldListProc, kHoldSubclassId, 0)) {
    return;
  }
  HeldLists().insert(list);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  if (!PostMessageW(list, kMsgResumeRedraw, 0, 0)) {
    ResumeRedraw(list);
  }
}

void ResumeRedraw(HWND list) {
  if (!IsHeld(list)) {
    return;
  }
  HeldLists().erase(list);
  RemoveWindowSubclass(list, HeldListProc, kHoldSubclassId);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  // Turning drawing back on does not repaint what changed meanwhile.
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace lumora::forms::win32::list_view
