#include "log.h"

#include <windows.h>

#include <string>

namespace rdp_client {
namespace {

std::string Utf8(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    return {};
  }
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

void Log(std::wstring_view line) {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) {
    return;
  }
  const std::string text = "mstsc (FreeRDP bridge): " + Utf8(line) + "\n";
  DWORD written = 0;
  ::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Complain(std::wstring_view text) {
  Log(text);
  const std::wstring terminated(text);
  ::MessageBoxW(nullptr, terminated.c_str(), L"远程桌面连接", MB_OK | MB_ICONERROR);
}

}  // namespace rdp_client
