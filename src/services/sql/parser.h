// Parses the statements the built-in engine supports:
//   SELECT * FROM table [WHERE condition]
//   UPDATE table SET column = literal [, ...] [WHERE condition]
//   DELETE [*] FROM table [WHERE condition]
// Conditions compare columns and literals (=, <>, <, >, <=, >=), test IS [NOT] NULL, and join
// with NOT, AND and OR (in that order of binding) and parentheses. A trailing ";" is allowed.
#pragma once

#include <optional>
#include <string_view>

#include "services/sql/statement.h"

namespace lumora::services::sql {

// Empty for anything else, so an unsupported statement fails instead of doing something else.
std::optional<Statement> ParseStatement(std::string_view sql);

}  // namespace lumora::services::sql
