#include "forms/win32/group_box.h"

#include <commctrl.h>

#include "forms/win32/exception_barrier.h"

namespace lumora::forms::win32 {
namespace {

constexpr UINT_PTR kContainerSubclass = 1;

bool IsForwarded(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR frameData);

LRESULT ContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                         DWORD_PTR frameData) {
  const auto& frame = *reinterpret_cast<const FrameState*>(frameData);
  if (IsForwarded(message)) {
    return SendMessageW(frame.window, message, wParam, lParam);
  }
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, frame.backgroundBrush);
      return 1;
    }
    case WM_NCHITTEST:
      // A plain group box lets the mouse through to whatever lies under it.
      return HTCLIENT;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ContainerProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR frameData) {
  return Guarded([&] { return ContainerMessage(window, message, wParam, lParam, id, frameData); });
}

}  // namespace

bool MakeContainer(HWND groupBox, FrameState& frame) {
  return SetWindowSubclass(groupBox, ContainerProc, kContainerSubclass,
                           reinterpret_cast<DWORD_PTR>(&frame)) != FALSE;
}

}  // namespace lumora::forms::win32
