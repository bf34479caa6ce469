#include "launcher/placeholder.h"

namespace lumora::launcher {
namespace {

unsigned char FoldAsciiLetter(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= 'A' && value <= 'Z' ? static_cast<unsigned char>(value - 'A' + 'a') : value;
}

bool MatchesAt(std::string_view text, std::size_t at, std::string_view placeholder) {
  if (text.size() - at < placeholder.size()) {
    return false;
  }
  for (std::size_t i = 0; i < placeholder.size(); ++i) {
    if (FoldAsciiLetter(text[at + i]) != FoldAsciiLetter(placeholder[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

Text ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                        std::string_view value) {
  if (placeholder.empty()) {
    return Text(text);
  }
  Text out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    if (MatchesAt(text, at, placeholder)) {
      out.append(value);
      at += placeholder.size();
      continue;
    }
    const std::size_t length = GbkCharLength(text, at);
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

}  // namespace lumora::launcher
