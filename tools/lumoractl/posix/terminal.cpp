// Linux and other POSIX systems: the locale's character set.
#include "terminal.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>

namespace lumora::ctl {
namespace {

Encoding LocaleEncoding() {
  std::setlocale(LC_CTYPE, "");
  const std::string codeset = nl_langinfo(CODESET);
  if (codeset == "GBK" || codeset == "GB18030" || codeset == "GB2312" || codeset == "CP936") {
    return Encoding::kGbk;
  }
  // UTF-8, and the plain C locale, whose terminals nowadays show UTF-8.
  return Encoding::kUtf8;
}

}  // namespace

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  SetTerminalEncoding(LocaleEncoding());
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::optional<Text> ArgumentText(std::string_view argument) {
  return ToGbk(argument, TerminalEncoding());
}

void PrintText(std::FILE* out, std::string_view text) {
  const std::string spelt = FromGbk(text, TerminalEncoding());
  std::fwrite(spelt.data(), 1, spelt.size(), out);
  std::fputc('\n', out);
}

bool IsTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) == 1;
}

void PrintFileError(std::string_view file, std::string_view message, std::string_view path) {
  const std::string line = "lumoractl: " + std::string(file) + ": " +
                           FromGbk(message, TerminalEncoding()) + std::string(path) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace lumora::ctl
