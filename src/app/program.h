// Program start: the windows and their binding tables, the start window and the message loop.
#pragma once

namespace lumora::app {

// Makes the program's windows known to the window model with their binding tables.
void RegisterWindows();

// Loads the start window and runs the program until its last window is gone.
// Returns the exit code. The window system must be installed first.
int RunLumora();

}  // namespace lumora::app
