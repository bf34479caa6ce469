// Putting a value in the place of a placeholder of the session file's template.
#pragma once

#include <string_view>

#include "base/text.h"

namespace lumora::launcher {

// Replaces every occurrence of `placeholder` in `text` by `value`, scanning left to right without
// overlaps. A match starts only where a GBK character starts; bytes compare exactly, except that
// ASCII letters match in either case. The inserted value is not scanned again by this call.
Text ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                        std::string_view value);

}  // namespace lumora::launcher
