// The helpers behind platform/win32/unique_handle.h. This program builds on its own, without the
// project's platform library, so it brings its own copy.
#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace lumora::platform::win32::detail {

std::uint32_t SaveLastError() noexcept {
  return ::GetLastError();
}

void RestoreLastError(std::uint32_t error) noexcept {
  ::SetLastError(error);
}

void CloseFindHandle(void* handle) noexcept {
  ::FindClose(handle);
}

void CloseKernelHandle(void* handle) noexcept {
  ::CloseHandle(handle);
}

}  // namespace lumora::platform::win32::detail
