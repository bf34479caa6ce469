// Dispatching one message of the user-interface thread.
#pragma once

#include <windows.h>

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Dispatches `message`, giving the dialog manager the keyboard messages of a frame first (Tab,
// Enter, arrow keys between radio buttons), hiding balloon tips when the user clicks and noting
// whether the user's last action came from the keyboard or the mouse.
void DispatchUiMessage(BackendState& state, MSG& message);

// Waits for and dispatches one message; false when it was WM_QUIT (its code in *quitCode) or
// the wait failed (-1 in *quitCode).
bool PumpOneMessage(BackendState& state, int* quitCode);

}  // namespace lumora::forms::win32
