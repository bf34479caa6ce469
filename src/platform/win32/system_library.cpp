#include "platform/win32/system_library.h"

namespace lumora::platform::win32 {

HMODULE SystemLibrary(const wchar_t* name) {
  // Only from the system folder: a library of that name beside the program is not loaded.
  HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags (Windows 7 before KB2533623): the known libraries of
    // this file are looked up in the system folder first anyway.
    module = ::LoadLibraryW(name);
  }
  return module;
}

bool RunsUnderWine() {
  // Wine's ntdll exports its version; Windows' has no such function.
  static const bool wine = [] {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace lumora::platform::win32
