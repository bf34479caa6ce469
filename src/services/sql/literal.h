// Putting a value into SQL text as a literal.
#pragma once

#include <string_view>

#include "base/text.h"

namespace lumora::services::sql {

// `value` with every single quote doubled, ready to stand between single quotes. Only whole
// characters are looked at (a GBK trail byte is never taken for a quote).
Text EscapeTextLiteral(std::string_view value);

}  // namespace lumora::services::sql
