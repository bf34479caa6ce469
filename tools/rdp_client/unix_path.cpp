#include "unix_path.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace rdp_client {
namespace {

// The answer is allocated on the process heap; the caller frees it.
using DosFileName = WCHAR*(CDECL*)(const char*);

void FreeFromProcessHeap(void* memory) noexcept {
  ::HeapFree(::GetProcessHeap(), 0, memory);
}

using UniqueHeapMemory = lumora::platform::win32::UniqueHandle<void*, &FreeFromProcessHeap>;

}  // namespace

std::optional<std::wstring> DosPathOf(const char* unixPath) {
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) {
    return std::nullopt;
  }
  // Through void (*)(): the one function pointer type GCC lets stand for any other.
  const auto found =
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "wine_get_dos_file_name"));
  const auto convert = reinterpret_cast<DosFileName>(found);
  if (convert == nullptr) {
    return std::nullopt;
  }
  WCHAR* const converted = convert(unixPath);
  const UniqueHeapMemory owner(converted);
  if (converted == nullptr) {
    return std::nullopt;
  }
  return std::wstring(converted);
}

}  // namespace rdp_client
