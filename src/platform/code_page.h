// Conversion between the program's GBK texts (code page 936) and UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

namespace lumora::platform {

// Characters GBK cannot spell become '?', one per character (a surrogate pair is one).
Text WideToGbk(std::u16string_view text);

// Bytes that do not form a GBK character become U+003F '?'.
std::u16string GbkToWide(std::string_view text);

}  // namespace lumora::platform
