#include "forms/win32/frame_messages.h"

#include <windowsx.h>

#include <commctrl.h>

#include <array>

#include "forms/win32/balloon_tip.h"
#include "forms/win32/control_events.h"
#include "forms/win32/toolbar.h"

namespace lumora::forms::win32 {
namespace {

COLORREF ToColorRef(const Rgb& colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

// Whether `label` lies partly over a picture box, whose image then shows through it.
bool IsOverPicture(const FrameState& frame, HWND label) {
  RECT labelRect{};
  GetWindowRect(label, &labelRect);
  for (std::size_t index = 0; index < frame.controls.size(); ++index) {
    HWND picture = frame.controls[index].window;
    RECT pictureRect{};
    RECT overlap{};
    if (frame.Definition(static_cast<int>(index)).kind == ControlKind::kPictureBox &&
        picture != nullptr && GetWindowRect(picture, &pictureRect) &&
        IntersectRect(&overlap, &labelRect, &pictureRect)) {
      return true;
    }
  }
  return false;
}

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kRadioButton;
}

}  // namespace

void OnControlCommand(FrameState& frame, WPARAM wParam, LPARAM lParam) {
  // Esc, as the dialog manager reports it: the window closes as by its close box.
  if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
    if (frame.definition->escapeCloses) {
      PostMessageW(frame.window, WM_CLOSE, 0, 0);
    }
    return;
  }
  const int index = frame.ControlIndexOf(reinterpret_cast<HWND>(lParam));
  if (index < 0) {
    return;
  }
  const ControlDefinition& control = frame.Definition(index);
  if (IsButtonKind(control.kind) && HIWORD(wParam) == BN_CLICKED) {
    RaiseControlEvent(frame, index, event::kClicked);
    return;
  }
  if (control.kind == ControlKind::kToolbar) {
    const int button = ToolbarButtonIndex(control.properties, LOWORD(wParam));
    if (button >= 0) {
      const std::array<int, 1> args{button};
      RaiseControlEvent(frame, index, event::kClicked, args);
    }
  }
}

LRESULT OnControlNotify(FrameState& frame, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  const int index = frame.ControlIndexOf(header->hwndFrom);
  if (index < 0) {
    return 0;
  }
  const ControlDefinition& control = frame.Definition(index);
  if (control.kind == ControlKind::kListView && header->code == NM_CLICK) {
    RaiseControlEvent(frame, index, event::kListLeftClick);
  } else if (control.kind == ControlKind::kListView && header->code == LVN_COLUMNCLICK) {
    const std::array<int, 1> args{reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem};
    RaiseControlEvent(frame, index, event::kColumnClick, args);
  } else if (control.kind == ControlKind::kListView && header->code == LVN_KEYDOWN) {
    const int keyState = (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) |
                         (GetKeyState(VK_SHIFT) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    const std::array<int, 2> args{reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey, keyState};
    RaiseControlEvent(frame, index, event::kKeyDown, args);
  } else if (control.kind == ControlKind::kToolbar && header->code == TBN_GETINFOTIPW) {
    // No tooltip over a balloon or over a window the user cannot use: an empty text shows none.
    auto& request = *reinterpret_cast<NMTBGETINFOTIPW*>(lParam);
    if (!ShowsBalloon(frame) && IsWindowEnabled(frame.window)) {
      FillToolbarTip(control.properties, request);
    } else if (request.pszText != nullptr && request.cchTextMax > 0) {
      request.pszText[0] = L'\0';
    }
  }
  return 0;
}

void OnControlContextMenu(FrameState& frame, WPARAM wParam, LPARAM lParam) {
  const int index = frame.ControlIndexOf(reinterpret_cast<HWND>(wParam));
  if (index >= 0) {
    const std::array<int, 2> args{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RaiseControlEvent(frame, index, event::kContextMenu, args);
  }
}

void OnSliderScroll(FrameState& frame, LPARAM lParam) {
  const int index = frame.ControlIndexOf(reinterpret_cast<HWND>(lParam));
  if (index < 0 || frame.Definition(index).kind != ControlKind::kSlider) {
    return;
  }
  ControlState& state = frame.controls[index];
  const auto position = static_cast<int>(SendMessageW(state.window, TBM_GETPOS, 0, 0));
  if (position == state.lastSliderPosition) {
    return;
  }
  state.lastSliderPosition = position;
  RaiseControlEvent(frame, index, event::kChanged);
}

LRESULT OnControlColour(FrameState& frame, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto dc = reinterpret_cast<HDC>(wParam);
  const int index = frame.ControlIndexOf(reinterpret_cast<HWND>(lParam));
  if (index < 0) {
    return DefWindowProcW(frame.window, message, wParam, lParam);
  }
  const ControlProperties& properties = frame.Definition(index).properties;
  const ControlState& state = frame.controls[index];
  switch (frame.Definition(index).kind) {
    case ControlKind::kTransparentLabel:
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, properties.textColour ? ToColorRef(*properties.textColour)
                                             : GetSysColor(COLOR_WINDOWTEXT));
      // Over the window's plain background the label clears its box to that colour first: a
      // label repainted on its own (a static control draws its new text at once) would draw
      // each text over the last one, thickening it. Only over a picture does it keep what lies
      // underneath.
      if (IsOverPicture(frame, state.window)) {
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      return reinterpret_cast<LRESULT>(frame.backgroundBrush);
    case ControlKind::kEditBox:
      if (!state.backBrush) {
        return DefWindowProcW(frame.window, message, wParam, lParam);
      }
      break;
    default:
      break;
  }
  if (properties.textColour) {
    SetTextColor(dc, ToColorRef(*properties.textColour));
  }
  if (state.backBrush) {
    SetBkColor(dc, ToColorRef(*properties.backColour));
    return reinterpret_cast<LRESULT>(state.backBrush.get());
  }
  SetBkColor(dc, frame.background);
  return reinterpret_cast<LRESULT>(frame.backgroundBrush);
}

LRESULT OnGetDefaultId(const FrameState& frame) {
  // Enter presses the focused button, or the window's main button from its edit boxes; with the
  // focus anywhere else (a check box, a list) it presses nothing.
  const int focused = frame.ControlIndexOf(GetFocus());
  if (focused < 0) {
    return 0;
  }
  if (frame.Definition(focused).kind == ControlKind::kButton) {
    return MAKELRESULT(kFirstControlId + focused, DC_HASDEFID);
  }
  if (frame.Definition(focused).kind != ControlKind::kEditBox) {
    return 0;
  }
  for (std::size_t index = 0; index < frame.controls.size(); ++index) {
    const ControlDefinition& control = frame.definition->controls[index];
    HWND button = frame.controls[index].window;
    if (control.kind == ControlKind::kButton && control.properties.defaultButton &&
        IsWindowVisible(button) && IsWindowEnabled(button)) {
      return MAKELRESULT(kFirstControlId + index, DC_HASDEFID);
    }
  }
  return 0;
}

}  // namespace lumora::forms::win32
