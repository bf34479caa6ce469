// Creating a control's window from its definition.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Creates control `index` of `frame`, hidden, as a child of the frame window, with `font`;
// the non-visual kinds get no window. False when the window cannot be created.
bool CreateControlWindow(FrameState& frame, int index, HFONT font);

}  // namespace lumora::forms::win32
