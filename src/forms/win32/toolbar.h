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

// Answers the toolbar's request for a button's tooltip.
void FillToolbarTip(const ControlProperties& properties, NMTBGETINFOTIPW& request);

}  // namespace lumora::forms::win32
