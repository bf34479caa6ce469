#include "base/text.h"

namespace lumora {

std::size_t GbkCharLength(std::string_view text, std::size_t offset) {
  if (offset + 1 < text.size() && IsGbkLeadByte(static_cast<unsigned char>(text[offset]))) {
    return 2;
  }
  return 1;
}

std::size_t GbkCharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    ++count;
  }
  return count;
}

Text RemoveBlanks(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = GbkCharLength(text, i);
    const std::string_view character = text.substr(i, length);
    if (character != " " && character != "　") {
      result.append(character);
    }
    i += length;
  }
  return result;
}

Text AsciiLowerCase(std::string_view text) {
  Text lower(text);
  for (std::size_t i = 0; i < lower.size(); i += GbkCharLength(lower, i)) {
    if (lower[i] >= 'A' && lower[i] <= 'Z') {
      lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
    }
  }
  return lower;
}

std::size_t FindOnCharBoundary(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) {
    return from <= text.size() ? from : std::string_view::npos;
  }
  std::size_t i = 0;
  while (i < from && i < text.size()) {
    i += GbkCharLength(text, i);
  }
  for (; i + needle.size() <= text.size(); i += GbkCharLength(text, i)) {
    if (text.compare(i, needle.size(), needle) == 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace lumora
