#ifdef _WIN32
#include "support/wine_gap.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/com.h"

namespace lumora::testing_support {

bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string LastDispatchFailureText() {
  const platform::win32::DispatchFailure& failure = platform::win32::LastDispatchFailure();
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(failure.result));
  std::string text = code;
  if (!failure.description.empty()) {
    text += " (";
    for (const wchar_t c : failure.description) {
      text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    text += ")";
  }
  return text;
}

}  // namespace lumora::testing_support
#endif
