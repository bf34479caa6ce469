#include "services/sql/literal.h"

namespace lumora::services::sql {

Text EscapeTextLiteral(std::string_view value) {
  Text escaped;
  escaped.reserve(value.size());
  for (std::size_t at = 0; at < value.size();) {
    const std::size_t length = GbkCharLength(value, at);
    if (length == 1 && value[at] == '\'') {
      escaped += "''";
    } else {
      escaped.append(value.substr(at, length));
    }
    at += length;
  }
  return escaped;
}

}  // namespace lumora::services::sql
