// The session file's template: 47 lines of the remote-desktop client's settings, 22 of them
// carrying a placeholder (a name between two "%" signs) for a value of the connection.
#pragma once

#include <cstddef>
#include <string_view>

namespace lumora::launcher {

inline constexpr std::size_t kSessionTemplateLines = 47;
inline constexpr std::size_t kSessionTemplateBytes = 1251;

// The template as GBK bytes, lines joined by CR LF, no line end after the last line.
std::string_view SessionTemplate();

}  // namespace lumora::launcher
