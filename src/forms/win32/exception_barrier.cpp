#include "forms/win32/exception_barrier.h"

#include <stdexcept>

#include "forms/window_model.h"

namespace lumora::forms::win32 {

void ReportEscapedException(std::exception_ptr escaped) noexcept {
  try {
    FatalError(ExceptionText(escaped));
  } catch (...) {
    // Not even the report could be made: end here rather than unwind through Windows.
    ExitProcess(static_cast<UINT>(-1));
  }
}

}  // namespace lumora::forms::win32
