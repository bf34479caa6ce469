#include "unix_path.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace rdp_client {
namespace {

// The answers are allocated on the process heap; the caller frees them.
using DosFileName = WCHAR*(CDECL*)(const char*);
using UnixFileName = char*(CDECL*)(const WCHAR*);

void FreeFromProcessHeap(void* memory) noexcept {
  ::HeapFree(::GetProcessHeap(), 0, memory);
}

using UniqueHeapMemory = lumora::platform::win32::UniqueHandle<void*, &FreeFromProcessHeap>;

// Through void (*)(): the one function pointer type GCC lets stand for any other.
void (*WineFunction(const char* name))() {
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  return kernel == nullptr ? nullptr : reinterpret_cast<void (*)()>(::GetProcAddress(kernel, name));
}

}  // namespace

std::optional<std::string> UnixPathOf(const std::wstring& dosPath) {
  const auto convert = reinterpret_cast<UnixFileName>(WineFunction("wine_get_unix_file_name"));
  if (convert == nullptr) {
    return std::nullopt;
  }
  char* const converted = convert(dosPath.c_str());
  const UniqueHeapMemory owner(converted);
  if (converted == nullptr) {
    return std::nullopt;
  }
  return std::string(converted);
}

std::optional<std::wstring> DosPathOf(const char* unixPath) {
  const auto convert = reinterpret_cast<DosFileName>(WineFunction("wine_get_dos_file_name"));
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
