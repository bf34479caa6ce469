// A tooltip over a list view that shows a cell's whole text when its column is too narrow for it.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32::list_view {

// The tooltip window for `list`, owned by the list's frame; null when none could be made.
HWND CreateCellTips(HWND list);

// Follows the mouse over `list`: the tip takes the text of the cell under `point` (list client
// coordinates) when the cell cuts it, and nothing otherwise. `message` is passed on to the tip so
// that it times its showing as for any tool.
void FollowMouse(HWND list, const ListRowStore& store, HWND tips, const MSG& message);

}  // namespace lumora::forms::win32::list_view
