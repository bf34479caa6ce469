// Drawing a list view once after a run of changes instead of after each one.
#pragma once

#include <windows.h>

namespace lumora::forms::win32::list_view {

// Stops `list` from drawing until the thread that owns it next reads its messages, when it is
// laid out and drawn once. Call on that thread; holding a list already held does nothing.
void HoldRedraw(HWND list);

// Ends a hold at once (for work that needs the list laid out, such as scrolling).
void ResumeRedraw(HWND list);

}  // namespace lumora::forms::win32::list_view
