// The barrier in every window and subclass procedure of ours: Windows' own frames sit between a
// procedure and the message loop, and an exception must never unwind through them. One that
// escapes a handler becomes the window model's fatal error (a box, then exit code -1).
#pragma once

#include <windows.h>

#include <exception>

namespace lumora::forms::win32 {

// Reports the exception in flight as a fatal error; never throws.
void ReportEscapedException(std::exception_ptr escaped) noexcept;

// Runs `handle` (which gives the message's result) behind the barrier; 0 after an exception.
template <typename Handle>
LRESULT Guarded(Handle&& handle) noexcept {
  try {
    return handle();
  } catch (...) {
    ReportEscapedException(std::current_exception());
  }
  return 0;
}

}  // namespace lumora::forms::win32
