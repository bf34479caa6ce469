#include "arguments.h"

#include <windows.h>

#include <shellapi.h>

#include <cwctype>

#include "platform/win32/unique_handle.h"

namespace rdp_client {
namespace {

void FreeLocal(void* memory) noexcept {
  ::LocalFree(memory);
}

// CommandLineToArgvW's array comes from LocalAlloc.
using UniqueLocal = lumora::platform::win32::UniqueHandle<void*, &FreeLocal>;

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

Invocation ParseInvocation(const wchar_t* commandLine) {
  Invocation invocation;
  int count = 0;
  wchar_t** const words = ::CommandLineToArgvW(commandLine, &count);
  const UniqueLocal owner(words);
  if (words == nullptr) {
    return invocation;
  }
  // words[0] is this program's own name.
  for (int i = 1; i < count; ++i) {
    const std::wstring_view word(words[i]);
    if (word.empty()) {
      continue;
    }
    if (word.front() != L'/') {
      if (invocation.sessionFile.empty()) {
        invocation.sessionFile = word;
      } else {
        invocation.ignored.emplace_back(word);
      }
    } else if (EqualsIgnoringCase(word, L"/admin") || EqualsIgnoringCase(word, L"/console")) {
      invocation.admin = true;
    } else {
      invocation.ignored.emplace_back(word);
    }
  }
  return invocation;
}

}  // namespace rdp_client
