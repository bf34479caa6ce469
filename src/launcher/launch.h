// Starting the remote-desktop client on a freshly built session file.
#pragma once

#include <functional>

#include "base/text.h"
#include "launcher/session_file.h"

namespace lumora::launcher {

enum class LaunchOutcome {
  kStarted,           // the file is written and the client started
  kWriteFailed,       // refused host name, or the file could not be written: no client started
  kClientNotStarted,  // the file is written but the client could not be started
  kClientTells,       // the client started and at once told the user what went wrong itself
};

// The balloon tip that tells the user the outcome; empty when the client told the user itself.
Text LaunchTip(LaunchOutcome outcome);

// The system's mstsc.exe by its full path in quotation marks (or "mstsc" where the system has
// none), a blank, the path in quotation marks, and the mode switch.
Text ClientCommandLine(const Text& path, const Text& modeSwitch);

// Builds the session file for the connection, writes it into the History folder (created when
// missing) and starts the client on it without waiting for the client to end. A host name that
// is not a plain file name (IsPlainFileName) is refused before anything is written. When the
// client started and shows a message box of its own a few seconds later, `whenClientTells` is
// called on another thread.
LaunchOutcome LaunchSession(const SessionInputs& inputs,
                            const std::function<void()>& whenClientTells = {});

}  // namespace lumora::launcher
