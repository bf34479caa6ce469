#include "forms/win32/control_events.h"

#include <windowsx.h>

#include <commctrl.h>

#include <array>

#include "forms/win32/exception_barrier.h"
#include "forms/win32/list_view.h"
#include "forms/win32/list_view_cell_tips.h"
#include "forms/win32/toolbar.h"
#include "forms/window_model.h"

namespace lumora::forms::win32 {
namespace {

// Key state bits of the mouse events: 1 Ctrl, 2 Shift, 4 Alt.
int KeyState() {
  int state = 0;
  if (GetKeyState(VK_CONTROL) < 0) {
    state |= 1;
  }
  if (GetKeyState(VK_SHIFT) < 0) {
    state |= 2;
  }
  if (GetKeyState(VK_MENU) < 0) {
    state |= 4;
  }
  return state;
}

LRESULT CALLBACK MouseEventsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR index, DWORD_PTR frameData);

// Which keys a control takes from the dialog manager. A multi-line edit box lets Tab move on
// (it would keep every Tab for itself); a list takes Enter, which then opens its current row; a
// toolbar takes the keys that move among and press its buttons.
LRESULT DialogCode(HWND window, WPARAM wParam, LPARAM lParam, const ControlDefinition& control) {
  LRESULT code = DefSubclassProc(window, WM_GETDLGCODE, wParam, lParam);
  const auto* key = reinterpret_cast<const MSG*>(lParam);
  if (key == nullptr || key->message != WM_KEYDOWN) {
    return code;
  }
  if (control.kind == ControlKind::kEditBox && control.properties.multiLine &&
      key->wParam == VK_TAB) {
    code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
  } else if (control.kind == ControlKind::kListView && key->wParam == VK_RETURN) {
    code |= DLGC_WANTALLKEYS;
  } else if (control.kind == ControlKind::kToolbar && IsToolbarKey(key->wParam)) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

// The menu key, or Shift+F10: the keyboard's way to a control's context menu.
bool IsMenuKey(UINT message, WPARAM key) {
  return (message == WM_KEYUP && key == VK_APPS) ||
         ((message == WM_SYSKEYDOWN || message == WM_KEYDOWN) && key == VK_F10 &&
          GetKeyState(VK_SHIFT) < 0);
}

LRESULT MouseEventsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                           DWORD_PTR frameData) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, MouseEventsProc, index);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  const auto& frame = *reinterpret_cast<const FrameState*>(frameData);
  const ControlDefinition& control = frame.Definition(static_cast<int>(index));
  if (message == WM_GETDLGCODE) {
    return DialogCode(window, wParam, lParam, control);
  }
  if (control.kind == ControlKind::kListView && IsMenuKey(message, wParam)) {
    // Raised here rather than left to the default handling, which not every system does; edit
    // boxes keep their own menu.
    const std::array<int, 2> args{-1, -1};
    RaiseControlEvent(frame, static_cast<int>(index), event::kContextMenu, args);
    return 0;
  }
  if (control.kind == ControlKind::kToolbar && message == WM_KEYDOWN &&
      ToolbarKeyDown(window, wParam)) {
    return 0;
  }
  if (control.kind == ControlKind::kToolbar &&
      (message == WM_SETFOCUS || message == WM_KILLFOCUS)) {
    ToolbarFocusChanged(window, message == WM_SETFOCUS);
  }
  if (control.kind == ControlKind::kListView && message == WM_ENABLE) {
    list_view::ShowEnabled(window, control.properties, wParam != FALSE);
  }
  if (control.kind == ControlKind::kListView && message == WM_HSCROLL &&
      list_view::ScrollSideways(window, LOWORD(wParam))) {
    return 0;
  }
  const std::optional<MouseEvent> mouse = TranslateMouseMessage(message, wParam, lParam);
  if (!mouse) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
  if (HWND tips = frame.controls[index].cellTips.get()) {
    list_view::FollowMouse(window, frame.controls[index].rows, tips,
                           MSG{window, message, wParam, lParam});
  }
  const HandlerResult result =
      RaiseControlEvent(frame, static_cast<int>(index), mouse->event, mouse->Args());
  if ((result && *result == 0) || !IsWindow(window)) {
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK MouseEventsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR index, DWORD_PTR frameData) {
  return Guarded(
      [&] { return MouseEventsMessage(window, message, wParam, lParam, index, frameData); });
}

}  // namespace

HandlerResult RaiseControlEvent(const FrameState& frame, int index, int event, EventArgs args) {
  const WindowDefinition& definition = *frame.definition;
  const std::string_view control =
      index < 0 ? std::string_view() : std::string_view(definition.controls[index].name);
  return RaiseEvent(definition.name, control, event, args);
}

std::optional<MouseEvent> TranslateMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  MouseEvent mouse;
  switch (message) {
    case WM_LBUTTONDOWN:
      mouse.event = event::kLeftDown;
      break;
    case WM_LBUTTONUP:
      mouse.event = event::kLeftUp;
      break;
    case WM_LBUTTONDBLCLK:
      mouse.event = event::kDoubleClick;
      break;
    case WM_RBUTTONDOWN:
      mouse.event = event::kRightDown;
      break;
    case WM_RBUTTONUP:
      mouse.event = event::kRightUp;
      break;
    case WM_MOUSEMOVE:
      mouse.event = event::kMouseMove;
      break;
    case WM_MOUSEWHEEL:
      mouse.event = event::kWheel;
      mouse.args = {GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, KeyState(), 0};
      mouse.argCount = 2;
      return mouse;
    default:
      return std::nullopt;
  }
  mouse.args = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), KeyState()};
  mouse.argCount = 3;
  return mouse;
}

bool AttachMouseEvents(HWND control, FrameState& frame, int index) {
  return SetWindowSubclass(control, MouseEventsProc, static_cast<UINT_PTR>(index),
                           reinterpret_cast<DWORD_PTR>(&frame)) != FALSE;
}

}  // namespace lumora::forms::win32
