// Windows: UTF-16 command lines and consoles, the ANSI code page in pipes and files.
#include "terminal.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "platform/code_page.h"

namespace lumora::ctl {
namespace {

std::u16string ToU16(const wchar_t* text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

}  // namespace

std::vector<std::string> CommandLineWords(int, char**) {
  // Pipes and files get the ANSI code page: GBK on a Chinese system, or UTF-8 where the system
  // is set to it.
  SetTerminalEncoding(GetACP() == CP_UTF8 ? Encoding::kUtf8 : Encoding::kGbk);
  // What goes into a pipe or file goes byte for byte: a line break inside a field (a remark that
  // export writes) must not become CR LF, or the CSV no longer imports as it was.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> words;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return words;
  }
  for (int index = 1; index < count; ++index) {
    words.push_back(platform::WideToGbk(ToU16(wide[index])));
  }
  LocalFree(wide);
  return words;
}

// The arguments came as UTF-16 and are GBK already.
std::optional<Text> ArgumentText(std::string_view argument) {
  return Text(argument);
}

void PrintText(std::FILE* out, std::string_view text) {
  std::fflush(out);
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    const std::u16string wide = platform::GbkToWide(std::string(text) + "\n");
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  const std::string spelt = FromGbk(text, TerminalEncoding());
  std::fwrite(spelt.data(), 1, spelt.size(), out);
  std::fputc('\n', out);
}

bool IsTerminal(std::FILE* stream) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// The names came as UTF-16 and are GBK already.
void PrintFileError(std::string_view file, std::string_view message, std::string_view path) {
  PrintText(stderr,
            "lumoractl: " + std::string(file) + ": " + std::string(message) + std::string(path));
}

}  // namespace lumora::ctl
