#include "platform/win32/unique_handle.h"

#include <windows.h>

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
