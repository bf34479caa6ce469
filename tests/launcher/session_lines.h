// Reading a session file back line by line in the launcher's tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora::launcher::testing {

// The lines of `content`, split at every CR LF; the last line is whatever follows the last CR LF.
inline std::vector<std::string> SplitCrLf(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = content.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(content.substr(start));
      return lines;
    }
    lines.emplace_back(content.substr(start, end - start));
    start = end + 2;
  }
}

}  // namespace lumora::launcher::testing
