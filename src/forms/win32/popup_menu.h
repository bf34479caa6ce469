// Pop-up menus over a control, as the right button or the menu key opens them.
#pragma once

#include <windows.h>

#include <span>

#include "base/text.h"
#include "forms/window_system.h"

namespace lumora::forms::win32 {

// Shows `items` (an empty text is a separator) at `screenPosition`, or below the current row of
// `control` (a list view) or at its top-left corner for {-1, -1}, and waits for the user's
// choice: the chosen item's index, or -1.
int ChoosePopupMenuItem(HWND frame, HWND control, std::span<const Text> items,
                        Point screenPosition);

}  // namespace lumora::forms::win32
