// Splits the SQL text the program issues into tokens. Names may hold GBK characters; a text
// literal stands in single quotes with '' for a quote, or in double quotes with "" for one.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumora::services::sql {

enum class TokenKind {
  kName,     // a bare word that is not a keyword, or a [bracketed] name
  kKeyword,  // text holds the keyword in upper case
  kText,     // a text literal, quotes undone
  kNumber,   // text holds the digits as written
  kSymbol,   // = <> < > <= >= ( ) , * ; -
};

struct Token {
  TokenKind kind = TokenKind::kName;
  Text text;
  friend bool operator==(const Token&, const Token&) = default;
};

// Empty when the text holds something no token can start with, or an unclosed literal or name.
std::optional<std::vector<Token>> Tokenize(std::string_view sql);

}  // namespace lumora::services::sql
