#include "services/values/name_compare.h"

namespace lumora::values {

char16_t FoldNameChar(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) ||
      (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) || (c >= 0x0430 && c <= 0x044F) ||
      (c >= 0xFF41 && c <= 0xFF5A)) {
    return static_cast<char16_t>(c - 0x20);
  }
  if (c >= 0x0450 && c <= 0x045F) {
    return static_cast<char16_t>(c - 0x50);
  }
  return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t index = 0; index < a.size(); ++index) {
    if (FoldNameChar(a[index]) != FoldNameChar(b[index])) {
      return false;
    }
  }
  return true;
}

}  // namespace lumora::values
