#include "services/sql/text_compare.h"

#include "services/values/name_compare.h"

namespace lumora::services::sql {
namespace {

std::u16string_view WithoutTrailingBlanks(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') {
    text.remove_suffix(1);
  }
  return text;
}

bool IsPlainAlphanumeric(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         c == u' ';
}

}  // namespace

bool SameText(std::u16string_view a, std::u16string_view b) {
  return values::SameName(WithoutTrailingBlanks(a), WithoutTrailingBlanks(b));
}

std::optional<int> CompareTextOrder(std::u16string_view a, std::u16string_view b) {
  a = WithoutTrailingBlanks(a);
  b = WithoutTrailingBlanks(b);
  for (std::u16string_view text : {a, b}) {
    for (char16_t c : text) {
      if (!IsPlainAlphanumeric(c)) {
        return std::nullopt;
      }
    }
  }
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t index = 0; index < common; ++index) {
    const char16_t left = values::FoldNameChar(a[index]);
    const char16_t right = values::FoldNameChar(b[index]);
    if (left != right) {
      return left < right ? -1 : 1;
    }
  }
  if (a.size() == b.size()) {
    return 0;
  }
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace lumora::services::sql
