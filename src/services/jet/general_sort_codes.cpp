#include "services/jet/general_sort_codes.h"

#include <array>

namespace lumora::jet {
namespace {

// 0 marks a letter whose code has not been seen in a genuine file.
constexpr std::array<std::uint8_t, 26> kLetters = {
    0x4A, 0x4C, 0x4D, 0x4F, 0x51, 0x53, 0x55, 0x57, 0x59, 0x5B, 0x5C, 0x5E, 0x60,
    0x62, 0x64, 0x66, 0x68, 0x69, 0x6B, 0x6D, 0x6F, 0x71, 0x00, 0x75, 0x76, 0x00};
constexpr std::array<std::uint8_t, 10> kDigits = {0x36, 0x38, 0x3A, 0x3C, 0x3E,
                                                  0x00, 0x42, 0x44, 0x46, 0x48};

}  // namespace

std::optional<std::uint8_t> GeneralSortCode(char16_t c) {
  std::uint8_t code = 0;
  if (c >= u'a' && c <= u'z') {
    code = kLetters[c - u'a'];
  } else if (c >= u'A' && c <= u'Z') {
    code = kLetters[c - u'A'];
  } else if (c >= u'0' && c <= u'9') {
    code = kDigits[c - u'0'];
  }
  if (code == 0) {
    return std::nullopt;
  }
  return code;
}

}  // namespace lumora::jet
