// Group boxes as containers: real parents of their controls.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Makes the group box `groupBox` of `frame` a container: it passes its controls' notifications
// and colour requests on to the frame, paints the frame's background under them and takes the
// mouse like any control.
bool MakeContainer(HWND groupBox, FrameState& frame);

}  // namespace lumora::forms::win32
