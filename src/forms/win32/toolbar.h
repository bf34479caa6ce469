// Toolbars: buttons with pictures and captions, tooltips, hidden buttons.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Button `index` (definition order) has the command id kFirstToolbarCommand + index.
inline constexpr int kFirstToolbarCommand = 1;

// Window styles of a toolbar with these properties.
DWORD ToolbarStyle(const ControlProperties& properties);

// Fills a new toolbar: image list, buttons with captions and states, background colour.
void SetUpToolbar(HWND toolbar, const ControlProperties& properties, ControlState& state);

// The definition index of the button with command id `command`, or -1.
int ToolbarButtonIndex(const ControlProperties& properties, int command);

// The keyboard on a toolbar that has the focus: the arrow keys move the highlight from button to
// button, Enter and Space press the highlighted one, as a click would. True when `key` was one of
// those. The focus coming highlights the first button; going, it takes the highlight away.
bool ToolbarKeyDown(HWND toolbar, WPARAM key);
void ToolbarFocusChanged(HWND toolbar, bool focused);
bool IsToolbarKey(WPARAM key);

// Answers the toolbar's request for a button's tooltip.
void FillToolbarTip(const ControlProperties& properties, NMTBGETINFOTIPW& request);

}  // namespace lumora::forms::win32
