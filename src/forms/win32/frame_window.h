// The top-level window of a definition: frame, caption, icon, background and its message handling.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Creates `frame.window` from `frame.definition`, not yet shown; `owner` may be null. The frame
// state must stay where it is for the life of the window; the window removes its state from
// its backend once it is destroyed.
bool CreateFrameWindow(FrameState& frame, HWND owner, HFONT font);

}  // namespace lumora::forms::win32
