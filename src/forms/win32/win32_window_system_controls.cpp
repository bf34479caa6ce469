// Control state: text, visibility, enabled and check state, sliders.
#include "forms/win32/win32_window_system.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "forms/win32/frame_state.h"
#include "forms/win32/ui_thread.h"
#include "forms/win32/wide_text.h"

namespace lumora::forms {

using win32::ControlState;
using win32::FrameState;

namespace {

bool IsCheckable(ControlKind kind) {
  return kind == ControlKind::kCheckBox || kind == ControlKind::kRadioButton;
}

// Transparent text leaves the old text behind unless what lies under it is painted again.
void RepaintUnderneath(HWND control) {
  HWND parent = GetParent(control);
  RECT area{};
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Radio buttons are exclusive within their container only.
void ClearOtherRadios(const FrameState& frame, int index) {
  const WindowDefinition& window = *frame.definition;
  const std::string_view container =
      window.controls[index].container ? window.controls[index].container : "";
  for (std::size_t other = 0; other < window.controls.size(); ++other) {
    const ControlDefinition& candidate = window.controls[other];
    if (static_cast<int>(other) != index && candidate.kind == ControlKind::kRadioButton &&
        container == (candidate.container ? candidate.container : "") &&
        frame.controls[other].window != nullptr) {
      SendMessageW(frame.controls[other].window, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

}  // namespace

Text Win32WindowSystem::GetText(const WindowDefinition& window, int index) const {
  return win32::ReadControl(*state_, window, index, Text(), [](FrameState&, ControlState& control) {
    const int length = GetWindowTextLengthW(control.window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control.window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return win32::FromWide(text);
  });
}

void Win32WindowSystem::SetText(const WindowDefinition& window, int index, const Text& text) {
  win32::ChangeControl(*state_, window, index, [&](FrameState& frame, ControlState& control) {
    SetWindowTextW(control.window, win32::ToWide(text).c_str());
    if (frame.Definition(index).kind == ControlKind::kTransparentLabel) {
      RepaintUnderneath(control.window);
    }
  });
}

bool Win32WindowSystem::IsVisible(const WindowDefinition& window, int index) const {
  return win32::ReadControl(*state_, window, index, false, [](FrameState&, ControlState& control) {
    return (GetWindowLongW(control.window, GWL_STYLE) & WS_VISIBLE) != 0;
  });
}

void Win32WindowSystem::SetVisible(const WindowDefinition& window, int index, bool visible) {
  win32::ChangeControl(*state_, window, index, [&](FrameState&, ControlState& control) {
    ShowWindow(control.window, visible ? SW_SHOWNA : SW_HIDE);
  });
}

bool Win32WindowSystem::IsEnabled(const WindowDefinition& window, int index) const {
  return win32::ReadControl(*state_, window, index, false, [](FrameState&, ControlState& control) {
    return IsWindowEnabled(control.window) != FALSE;
  });
}

void Win32WindowSystem::SetEnabled(const WindowDefinition& window, int index, bool enabled) {
  win32::ChangeControl(*state_, window, index, [&](FrameState&, ControlState& control) {
    EnableWindow(control.window, enabled ? TRUE : FALSE);
  });
}

void Win32WindowSystem::FocusControl(const WindowDefinition& window, int index, bool selectAll) {
  win32::ChangeControl(*state_, window, index, [&](FrameState& frame, ControlState& control) {
    // Remembered for the window's activation, which gives the focus back to it.
    frame.lastFocus = control.window;
    if (selectAll && frame.Definition(index).kind == ControlKind::kEditBox) {
      SendMessageW(control.window, EM_SETSEL, 0, -1);
    }
    if (GetActiveWindow() == frame.window) {
      SetFocus(control.window);
    }
  });
}

bool Win32WindowSystem::IsChecked(const WindowDefinition& window, int index) const {
  return win32::ReadControl(*state_, window, index, false,
                            [&](FrameState& frame, ControlState& control) {
                              return IsCheckable(frame.Definition(index).kind) &&
                                     SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
                            });
}

void Win32WindowSystem::SetChecked(const WindowDefinition& window, int index, bool checked) {
  win32::ChangeControl(*state_, window, index, [&](FrameState& frame, ControlState& control) {
    const ControlKind kind = frame.Definition(index).kind;
    if (!IsCheckable(kind)) {
      return;
    }
    SendMessageW(control.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && kind == ControlKind::kRadioButton) {
      ClearOtherRadios(frame, index);
    }
  });
}

int Win32WindowSystem::SliderPosition(const WindowDefinition& window, int index) const {
  return win32::ReadControl(
      *state_, window, index, 0, [&](FrameState& frame, ControlState& control) {
        if (frame.Definition(index).kind != ControlKind::kSlider) {
          return 0;
        }
        return static_cast<int>(SendMessageW(control.window, TBM_GETPOS, 0, 0));
      });
}

void Win32WindowSystem::SetSliderPosition(const WindowDefinition& window, int index, int position) {
  win32::ChangeControl(*state_, window, index, [&](FrameState& frame, ControlState& control) {
    if (frame.Definition(index).kind != ControlKind::kSlider) {
      return;
    }
    SendMessageW(control.window, TBM_SETPOS, TRUE, position);
    control.lastSliderPosition = static_cast<int>(SendMessageW(control.window, TBM_GETPOS, 0, 0));
  });
}

void Win32WindowSystem::SetSliderRange(const WindowDefinition& window, int index, int minimum,
                                       int maximum) {
  win32::ChangeControl(*state_, window, index, [&](FrameState& frame, ControlState& control) {
    if (frame.Definition(index).kind != ControlKind::kSlider) {
      return;
    }
    SendMessageW(control.window, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(control.window, TBM_SETRANGEMAX, TRUE, maximum);
    control.lastSliderPosition = static_cast<int>(SendMessageW(control.window, TBM_GETPOS, 0, 0));
  });
}

}  // namespace lumora::forms
