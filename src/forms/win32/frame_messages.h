// What a frame does with its controls' notifications: kind events and colours.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// WM_COMMAND: clicks of buttons, check boxes, radio buttons and toolbar buttons.
void OnControlCommand(FrameState& frame, WPARAM wParam, LPARAM lParam);
// WM_NOTIFY: list-view clicks, toolbar tooltips.
LRESULT OnControlNotify(FrameState& frame, LPARAM lParam);
// WM_CONTEXTMENU that a control passed up: the control's context-menu event.
void OnControlContextMenu(FrameState& frame, WPARAM wParam, LPARAM lParam);
// WM_HSCROLL / WM_VSCROLL from a slider.
void OnSliderScroll(FrameState& frame, LPARAM lParam);
// WM_CTLCOLOR*: background and text colours of the controls.
LRESULT OnControlColour(FrameState& frame, UINT message, WPARAM wParam, LPARAM lParam);
// DM_GETDEFID: the default button that Enter clicks, if one is defined.
LRESULT OnGetDefaultId(const FrameState& frame);

}  // namespace lumora::forms::win32
