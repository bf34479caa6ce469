// Program-style paths (backslash separators) turned into paths this system's calls accept.
#pragma once

#include <string_view>

#include "base/text.h"

namespace lumora::platform {

// Every backslash that stands as a whole character becomes '/'; the second byte of a
// double-byte character is left alone even when it is 0x5C.
Text NativePath(std::string_view path);

}  // namespace lumora::platform
