// Functions of the system libraries that only some operations need (COM and OLE automation for
// the ADO engine, data protection for session files, sockets for the echo probe), found when
// first called. Imported at link time, those libraries are loaded before the first window, which
// costs about 20 ms of every start under Wine. Included by the Windows adapters only.
#pragma once

#include <windows.h>

namespace lumora::platform::win32 {

// The library from the system folder, loaded on first use and kept until the process ends; null
// when it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);

// True when the program runs under Wine rather than on Windows.
bool RunsUnderWine();

// `name` exported by `library`, as `FunctionPointer` (a pointer to the function's declared
// type, e.g. decltype(&::CoInitializeEx)); null when the library or the function is missing.
// Callers keep the result in a static: each call looks the function up again.
template <typename FunctionPointer>
FunctionPointer SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = SystemLibrary(library);
  if (module == nullptr) {
    return nullptr;
  }
  // Through void(*)(): GetProcAddress's FARPROC carries no real signature.
  return reinterpret_cast<FunctionPointer>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace lumora::platform::win32
