#include "forms/win32/frame_window.h"

#include <string>

#include "forms/win32/balloon_tip.h"
#include "forms/win32/control_events.h"
#include "forms/win32/exception_barrier.h"
#include "forms/win32/frame_messages.h"
#include "forms/win32/icon_image.h"
#include "forms/win32/wide_text.h"
#include "forms/window_model.h"

namespace lumora::forms::win32 {
namespace {

constexpr wchar_t kFrameClass[] = L"LumoraWindow";

bool IsSizable(FrameStyle frame) {
  return frame == FrameStyle::kResizable || frame == FrameStyle::kResizableToolWindow ||
         frame == FrameStyle::kResizableSunken;
}

DWORD WindowStyle(const WindowDefinition& window, bool modal) {
  if (window.frame == FrameStyle::kNone) {
    return WS_POPUP;
  }
  DWORD style = WS_OVERLAPPED | WS_CAPTION;
  if (IsSizable(window.frame)) {
    style |= WS_THICKFRAME;
  }
  if (window.controlBox) {
    style |= WS_SYSMENU;
    if (window.minimizeBox && !modal) {
      style |= WS_MINIMIZEBOX;
    }
    if (window.maximizeBox) {
      style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD WindowExtendedStyle(const WindowDefinition& window) {
  DWORD style = WS_EX_CONTROLPARENT;
  if (window.frame == FrameStyle::kFixedToolWindow ||
      window.frame == FrameStyle::kResizableToolWindow) {
    style |= WS_EX_TOOLWINDOW;
  }
  if (window.frame == FrameStyle::kFixedSunken || window.frame == FrameStyle::kResizableSunken) {
    style |= WS_EX_CLIENTEDGE;
  }
  if (window.alwaysOnTop) {
    style |= WS_EX_TOPMOST;
  }
  return style;
}

POINT StartPosition(const WindowDefinition& window) {
  if (window.start != StartPosition::kCentred) {
    return {window.rect.left, window.rect.top};
  }
  return {(GetSystemMetrics(SM_CXSCREEN) - window.rect.width) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - window.rect.height) / 2};
}

void SetIcons(FrameState& frame) {
  const ImageData icon = frame.definition->icon;
  if (icon.empty()) {
    return;
  }
  frame.bigIcon = std::move(IconFromIco(icon).icon);
  frame.smallIcon = std::move(
      IconFromIco(icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)).icon);
  SendMessageW(frame.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(frame.bigIcon.get()));
  SendMessageW(frame.window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(frame.smallIcon.get()));
}

void SetBackground(FrameState& frame) {
  const Colour& colour = frame.definition->background;
  if (colour) {
    frame.background = RGB(colour->red, colour->green, colour->blue);
    frame.ownedBackground.reset(CreateSolidBrush(frame.background));
    frame.backgroundBrush = frame.ownedBackground.get();
  }
  if (frame.backgroundBrush == nullptr) {
    frame.background = GetSysColor(COLOR_3DFACE);
    frame.backgroundBrush = GetSysColorBrush(COLOR_3DFACE);
  }
}

// Gives the focus back to the control that had it when the window was last active, or to the
// first tab stop.
void RestoreFocus(FrameState& frame) {
  HWND target = frame.lastFocus;
  if (target == nullptr || !IsWindow(target) || !IsChild(frame.window, target) ||
      !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(frame.window, nullptr, FALSE);
  }
  if (target != nullptr) {
    SetFocus(target);
  }
}

void OnActivate(FrameState& frame, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) {
    return;
  }
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(frame.window, focus)) {
    frame.lastFocus = focus;
  }
}

void OnTimer(FrameState& frame, WPARAM timer) {
  if (timer >= kFirstBalloonTimer && timer < kFirstBalloonTimer + frame.controls.size()) {
    HideBalloonTip(frame, static_cast<int>(timer - kFirstBalloonTimer));
  }
}

void OnDestroy(const FrameState& frame) {
  if (!frame.backend->shuttingDown) {
    WindowDestroying(*frame.definition);
  }
}

// Every control is gone by now: the window's state goes with it.
void OnNcDestroy(HWND window, const FrameState& frame) {
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  auto& frames = frame.backend->frames;
  const auto found = frames.find(frame.definition);
  if (found != frames.end() && found->second.get() == &frame) {
    frames.erase(found);
  }
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  return 0;
}

LRESULT OnEraseBackground(const FrameState& frame, HDC dc) {
  RECT client{};
  GetClientRect(frame.window, &client);
  FillRect(dc, &client, frame.backgroundBrush);
  return 1;
}

LRESULT HandleFrameMessage(HWND window, FrameState& frame, UINT message, WPARAM wParam,
                           LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnControlCommand(frame, wParam, lParam);
      return 0;
    case WM_NOTIFY:
      return OnControlNotify(frame, lParam);
    case WM_CONTEXTMENU:
      OnControlContextMenu(frame, wParam, lParam);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnSliderScroll(frame, lParam);
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(frame, message, wParam, lParam);
    case DM_GETDEFID:
      return OnGetDefaultId(frame);
    case WM_ERASEBKGND:
      return OnEraseBackground(frame, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
      return OnPaint(window);
    case WM_TIMER:
      OnTimer(frame, wParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(frame, wParam);
      break;
    case WM_ENABLE:
    case WM_SHOWWINDOW:
      if (wParam == FALSE) {
        HideFrameTips(frame);
      }
      break;
    case WM_SETFOCUS:
      RestoreFocus(frame);
      return 0;
    case WM_CLOSE:
      if (frame.definition->closable) {
        DestroyWindow(window);
      }
      return 0;
    case kMsgPostedClose:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      OnDestroy(frame);
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(window, frame);
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      if (const std::optional<MouseEvent> mouse = TranslateMouseMessage(message, wParam, lParam)) {
        const HandlerResult result = RaiseControlEvent(frame, -1, mouse->event, mouse->Args());
        if ((result && *result == 0) || !IsWindow(window)) {
          return 0;
        }
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* frame = static_cast<FrameState*>(create->lpCreateParams);
    frame->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  }
  auto* frame = reinterpret_cast<FrameState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (frame == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return HandleFrameMessage(window, *frame, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded([&] { return FrameMessage(window, message, wParam, lParam); });
}

bool RegisterFrameClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFrameClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

bool CreateFrameWindow(FrameState& frame, HWND owner, HFONT font) {
  if (!RegisterFrameClass()) {
    return false;
  }
  const WindowDefinition& definition = *frame.definition;
  SetBackground(frame);
  frame.controls.resize(definition.controls.size());
  const POINT position = StartPosition(definition);
  const std::wstring title = ToWide(definition.title == nullptr ? "" : definition.title);
  HWND window = CreateWindowExW(WindowExtendedStyle(definition), kFrameClass, title.c_str(),
                                WindowStyle(definition, frame.modal), position.x, position.y,
                                definition.rect.width, definition.rect.height, owner, nullptr,
                                GetModuleHandleW(nullptr), &frame);
  if (window == nullptr) {
    return false;
  }
  SetIcons(frame);
  if (!definition.closable) {
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
      DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
    }
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return true;
}

}  // namespace lumora::forms::win32
