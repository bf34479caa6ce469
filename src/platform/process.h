// Starting other programs.
#pragma once

#include <functional>

#include "base/text.h"

namespace lumora::platform {

// How long StartProcess waits at most for a started program to become idle.
inline constexpr unsigned kInputIdleWaitMs = 1000;

enum class StartedProgram {
  kNotStarted,
  kStarted,
  // It shows a message box of its own, or has already ended with a failure code: it tells the
  // user itself what went wrong.
  kTellsTheUser,
};

// Starts `commandLine` (Windows quoting rules; the first word names the program, which the system
// looks for along the search path) as a new process with the caller's environment and current
// directory, inheriting no handles, its window in the normal state. Does not wait for it to end;
// on Windows waits at most kInputIdleWaitMs for it to become idle and then looks at what it
// does. When it started and `whenItTellsTheUser` is given, that is called (on another thread)
// if the program shows a message box of its own within kTellWatchMs after that.
StartedProgram StartProcess(const Text& commandLine,
                            const std::function<void()>& whenItTellsTheUser = {});

// How long a started program is watched for a message box of its own.
inline constexpr unsigned kTellWatchMs = 5000;

// The path of the program `fileName` in the system's own program folder (System32 on Windows)
// when it is there; empty otherwise, and always where the system has no such folder.
Text SystemProgram(const Text& fileName);

}  // namespace lumora::platform
