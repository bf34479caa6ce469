#include "services/sql/lexer.h"

#include <algorithm>
#include <array>

namespace lumora::services::sql {
namespace {

constexpr std::array<std::string_view, 14> kKeywords = {
    "SELECT", "FROM", "WHERE", "UPDATE", "SET",    "DELETE", "AND",
    "OR",     "NOT",  "NULL",  "IS",     "INSERT", "INTO",   "VALUES"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsName(char c) {
  return IsAsciiLetter(c) || c == '_' || IsGbkLeadByte(static_cast<unsigned char>(c));
}

bool ContinuesName(char c) {
  return StartsName(c) || IsDigit(c);
}

Text Upper(std::string_view word) {
  Text upper(word);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

bool IsKeyword(const Text& upper) {
  for (std::string_view keyword : kKeywords) {
    if (upper == keyword) {
      return true;
    }
  }
  return false;
}

// A literal that starts at `at` with `quote`; a doubled quote stands for one. Advances `at`
// past the closing quote; false when there is none.
bool ReadQuoted(std::string_view sql, std::size_t& at, char quote, Text& out) {
  ++at;
  while (at < sql.size()) {
    const std::size_t length = GbkCharLength(sql, at);
    if (length == 1 && sql[at] == quote) {
      if (at + 1 < sql.size() && sql[at + 1] == quote) {
        out.push_back(quote);
        at += 2;
        continue;
      }
      ++at;
      return true;
    }
    out.append(sql.substr(at, length));
    at += length;
  }
  return false;
}

}  // namespace

std::optional<std::vector<Token>> Tokenize(std::string_view sql) {
  std::vector<Token> tokens;
  std::size_t at = 0;
  while (at < sql.size()) {
    const char c = sql[at];
    if (IsBlank(c)) {
      ++at;
    } else if (c == '\'' || c == '"') {
      Token token{TokenKind::kText, {}};
      if (!ReadQuoted(sql, at, c, token.text)) {
        return std::nullopt;
      }
      tokens.push_back(std::move(token));
    } else if (c == '[') {
      // A GBK trail byte may be 0x5D: walk whole characters to find the closing bracket.
      std::size_t close = at + 1;
      while (close < sql.size() && sql[close] != ']') {
        close += GbkCharLength(sql, close);
      }
      if (close >= sql.size() || close == at + 1) {
        return std::nullopt;
      }
      tokens.push_back({TokenKind::kName, Text(sql.substr(at + 1, close - at - 1))});
      at = close + 1;
    } else if (IsDigit(c) || (c == '.' && at + 1 < sql.size() && IsDigit(sql[at + 1]))) {
      const std::size_t start = at;
      bool point = false;
      while (at < sql.size() && (IsDigit(sql[at]) || (sql[at] == '.' && !point))) {
        point = point || sql[at] == '.';
        ++at;
      }
      // "12abc" is neither a number nor a name.
      if (at < sql.size() && ContinuesName(sql[at])) {
        return std::nullopt;
      }
      tokens.push_back({TokenKind::kNumber, Text(sql.substr(start, at - start))});
    } else if (StartsName(c)) {
      const std::size_t start = at;
      while (at < sql.size() && ContinuesName(sql[at])) {
        at += GbkCharLength(sql, at);
      }
      at = std::min(at, sql.size());
      const std::string_view word = sql.substr(start, at - start);
      Text upper = Upper(word);
      if (IsKeyword(upper)) {
        tokens.push_back({TokenKind::kKeyword, std::move(upper)});
      } else {
        tokens.push_back({TokenKind::kName, Text(word)});
      }
    } else if (c == '<' || c == '>') {
      const bool two =
          at + 1 < sql.size() && (sql[at + 1] == '=' || (c == '<' && sql[at + 1] == '>'));
      tokens.push_back({TokenKind::kSymbol, Text(sql.substr(at, two ? 2 : 1))});
      at += two ? 2 : 1;
    } else if (c == '=' || c == '(' || c == ')' || c == ',' || c == '*' || c == ';' || c == '-') {
      tokens.push_back({TokenKind::kSymbol, Text(1, c)});
      ++at;
    } else {
      return std::nullopt;
    }
  }
  return tokens;
}

}  // namespace lumora::services::sql
