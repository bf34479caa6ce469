// Conversion between the model's GBK texts and the UTF-16 of the W functions, done once here so
// that Chinese shows whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

namespace lumora::forms::win32 {

std::wstring ToWide(std::string_view gbk);
Text FromWide(std::wstring_view wide);

}  // namespace lumora::forms::win32
