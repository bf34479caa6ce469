#include "platform/code_page.h"

#include <windows.h>

namespace lumora::platform {
namespace {

constexpr UINT kGbkCodePage = 936;

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Code page 936 has no spelling for characters outside the basic plane; each pair (and each
// stray half) becomes one '?' before the conversion, which would otherwise give two.
std::u16string WithoutSurrogates(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char16_t c = text[index];
    if (IsHighSurrogate(c) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
      ++index;
      out.push_back(u'?');
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out.push_back(u'?');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// One character of 1 or 2 bytes; '?' when it is not valid GBK.
void AppendCharacter(std::string_view character, std::u16string& out) {
  wchar_t wide[2] = {};
  const int length = ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, character.data(),
                                           static_cast<int>(character.size()), wide, 2);
  if (length <= 0) {
    out.push_back(u'?');
    return;
  }
  for (int index = 0; index < length; ++index) {
    out.push_back(static_cast<char16_t>(wide[index]));
  }
}

}  // namespace

Text WideToGbk(std::u16string_view text) {
  if (text.empty()) {
    return {};
  }
  const std::u16string clean = WithoutSurrogates(text);
  const auto* wide = reinterpret_cast<const wchar_t*>(clean.data());
  const int length = static_cast<int>(clean.size());
  // No best-fit mapping: a character without a GBK spelling becomes '?', not a look-alike.
  const int size = ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr,
                                         0, nullptr, nullptr);
  if (size <= 0) {
    return {};
  }
  Text out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), size, nullptr,
                        nullptr);
  return out;
}

std::u16string GbkToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t index = 0; index < text.size();) {
    const std::size_t length = GbkCharLength(text, index);
    const auto byte = static_cast<unsigned char>(text[index]);
    if (byte < 0x80) {
      out.push_back(static_cast<char16_t>(byte));
    } else {
      AppendCharacter(text.substr(index, length), out);
    }
    index += length;
  }
  return out;
}

}  // namespace lumora::platform
