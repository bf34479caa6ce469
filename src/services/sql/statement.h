// The statements the built-in engine runs, as parsed from SQL text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/text.h"

namespace lumora::services::sql {

// A column reference or a literal.
struct Operand {
  enum class Kind { kColumn, kText, kNumber, kNull };
  Kind kind = Kind::kNull;
  // Column: its name (GBK). Text: the literal with its quotes undone. Number: as written.
  Text text;
  double number = 0;
  // Filled in when the condition is bound: a column's position, a text literal in UTF-16.
  std::size_t column = 0;
  std::u16string wide;
};

enum class CompareOp { kEqual, kNotEqual, kLess, kGreater, kLessEqual, kGreaterEqual };

struct Condition {
  enum class Kind { kCompare, kIsNull, kIsNotNull, kAnd, kOr, kNot };
  Kind kind = Kind::kCompare;
  CompareOp op = CompareOp::kEqual;
  // Compare: both. IsNull, IsNotNull: left only.
  Operand left;
  Operand right;
  // And, Or: two. Not: one.
  std::vector<Condition> children;
};

struct SelectStatement {
  Text table;
  std::optional<Condition> where;
};

struct Assignment {
  Text column;
  Operand value;  // a literal: text, number or Null
};

struct UpdateStatement {
  Text table;
  std::vector<Assignment> assignments;
  std::optional<Condition> where;
};

struct DeleteStatement {
  Text table;
  std::optional<Condition> where;
};

using Statement = std::variant<SelectStatement, UpdateStatement, DeleteStatement>;

}  // namespace lumora::services::sql
