// Binding a parsed condition to a table's columns and evaluating it on one row, by Jet's rules:
// a comparison with Null is neither true nor false, text compares as SameText says, and a
// comparison of text with a number is an error (Jet's "data type mismatch").
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/sql/statement.h"
#include "services/values/column_type.h"
#include "services/values/value.h"

namespace lumora::services::sql {

// How the engine compares a column's values. kOther (dates, binary data, GUIDs) takes part in
// IS NULL tests only; comparing it is refused rather than guessed.
enum class ColumnKind { kText, kNumber, kOther };

ColumnKind KindOf(values::ColumnType type);

struct ColumnInfo {
  Text name;  // GBK
  ColumnKind kind = ColumnKind::kOther;
};

// Position of the column named `name` (GBK, matched as Jet matches names).
std::optional<std::size_t> FindColumn(const std::vector<ColumnInfo>& columns, const Text& name);

// Resolves every column reference in `condition` to its position; false when a name is unknown
// (Jet would ask for a parameter value) or two sides can never be compared.
bool BindCondition(Condition& condition, const std::vector<ColumnInfo>& columns);

enum class Truth { kFalse, kTrue, kNull };

// The condition's value on `row` (values in the order of the bound columns). Empty when Jet's
// answer is not known to this engine (see CompareTextOrder); the statement must then fail.
std::optional<Truth> Evaluate(const Condition& condition, const std::vector<values::Value>& row);

}  // namespace lumora::services::sql
