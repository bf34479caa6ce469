#include "services/sql/condition.h"

#include <string>
#include <type_traits>

#include "platform/code_page.h"
#include "services/sql/text_compare.h"
#include "services/values/name_compare.h"

namespace lumora::services::sql {
namespace {

// What one side of a comparison holds on one row.
struct OtherValue {};
using Scalar = std::variant<std::monostate, double, std::u16string_view, OtherValue>;

// Kind of an operand once bound; nullopt stands for the Null literal.
std::optional<ColumnKind> OperandKind(const Operand& operand,
                                      const std::vector<ColumnInfo>& columns) {
  switch (operand.kind) {
    case Operand::Kind::kColumn:
      return columns[operand.column].kind;
    case Operand::Kind::kText:
      return ColumnKind::kText;
    case Operand::Kind::kNumber:
      return ColumnKind::kNumber;
    case Operand::Kind::kNull:
      break;
  }
  return std::nullopt;
}

bool BindOperand(Operand& operand, const std::vector<ColumnInfo>& columns) {
  if (operand.kind == Operand::Kind::kText) {
    operand.wide = platform::GbkToWide(operand.text);
  }
  if (operand.kind != Operand::Kind::kColumn) {
    return true;
  }
  const std::optional<std::size_t> position = FindColumn(columns, operand.text);
  if (!position) {
    return false;
  }
  operand.column = *position;
  return true;
}

Scalar ValueScalar(const values::Value& value) {
  return std::visit(
      [](const auto& field) -> Scalar {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return std::monostate{};
        } else if constexpr (std::is_same_v<T, bool>) {
          return field ? -1.0 : 0.0;  // Jet's True is -1
        } else if constexpr (std::is_arithmetic_v<T>) {
          return static_cast<double>(field);
        } else if constexpr (std::is_same_v<T, values::Currency>) {
          return static_cast<double>(field.ten_thousandths) / 10000.0;
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          return std::u16string_view(field);
        } else {
          return OtherValue{};
        }
      },
      value);
}

std::optional<Scalar> OperandScalar(const Operand& operand, const std::vector<values::Value>& row) {
  switch (operand.kind) {
    case Operand::Kind::kColumn:
      if (operand.column >= row.size()) {
        return std::nullopt;
      }
      return ValueScalar(row[operand.column]);
    case Operand::Kind::kText:
      return std::u16string_view(operand.wide);
    case Operand::Kind::kNumber:
      return operand.number;
    case Operand::Kind::kNull:
      break;
  }
  return Scalar(std::monostate{});
}

bool Holds(CompareOp op, int order) {
  switch (op) {
    case CompareOp::kEqual:
      return order == 0;
    case CompareOp::kNotEqual:
      return order != 0;
    case CompareOp::kLess:
      return order < 0;
    case CompareOp::kGreater:
      return order > 0;
    case CompareOp::kLessEqual:
      return order <= 0;
    case CompareOp::kGreaterEqual:
      return order >= 0;
  }
  return false;
}

Truth FromBool(bool value) {
  return value ? Truth::kTrue : Truth::kFalse;
}

std::optional<Truth> Compare(CompareOp op, const Scalar& left, const Scalar& right) {
  if (std::holds_alternative<std::monostate>(left) ||
      std::holds_alternative<std::monostate>(right)) {
    return Truth::kNull;
  }
  if (const double* a = std::get_if<double>(&left)) {
    const double* b = std::get_if<double>(&right);
    if (b == nullptr) {
      return std::nullopt;
    }
    return FromBool(Holds(op, *a < *b ? -1 : (*a > *b ? 1 : 0)));
  }
  const auto* a = std::get_if<std::u16string_view>(&left);
  const auto* b = std::get_if<std::u16string_view>(&right);
  if (a == nullptr || b == nullptr) {
    return std::nullopt;
  }
  if (op == CompareOp::kEqual || op == CompareOp::kNotEqual) {
    return FromBool(Holds(op, SameText(*a, *b) ? 0 : 1));
  }
  const std::optional<int> order = CompareTextOrder(*a, *b);
  if (!order) {
    return std::nullopt;
  }
  return FromBool(Holds(op, *order));
}

}  // namespace

ColumnKind KindOf(values::ColumnType type) {
  switch (type) {
    case values::ColumnType::kText:
    case values::ColumnType::kMemo:
      return ColumnKind::kText;
    case values::ColumnType::kBoolean:
    case values::ColumnType::kByte:
    case values::ColumnType::kInteger:
    case values::ColumnType::kLong:
    case values::ColumnType::kCurrency:
    case values::ColumnType::kSingle:
    case values::ColumnType::kDouble:
      return ColumnKind::kNumber;
    default:
      // Decimal values are not compared: a double would round them.
      return ColumnKind::kOther;
  }
}

std::optional<std::size_t> FindColumn(const std::vector<ColumnInfo>& columns, const Text& name) {
  const std::u16string wide = platform::GbkToWide(name);
  for (std::size_t index = 0; index < columns.size(); ++index) {
    if (values::SameName(platform::GbkToWide(columns[index].name), wide)) {
      return index;
    }
  }
  return std::nullopt;
}

bool BindCondition(Condition& condition, const std::vector<ColumnInfo>& columns) {
  switch (condition.kind) {
    case Condition::Kind::kAnd:
    case Condition::Kind::kOr:
    case Condition::Kind::kNot:
      for (Condition& child : condition.children) {
        if (!BindCondition(child, columns)) {
          return false;
        }
      }
      return true;
    case Condition::Kind::kIsNull:
    case Condition::Kind::kIsNotNull:
      return BindOperand(condition.left, columns);
    case Condition::Kind::kCompare:
      break;
  }
  if (!BindOperand(condition.left, columns) || !BindOperand(condition.right, columns)) {
    return false;
  }
  const std::optional<ColumnKind> left = OperandKind(condition.left, columns);
  const std::optional<ColumnKind> right = OperandKind(condition.right, columns);
  if (left == ColumnKind::kOther || right == ColumnKind::kOther) {
    return false;
  }
  // The Null literal compares with anything (and gives Null); other kinds must agree.
  return !left || !right || *left == *right;
}

std::optional<Truth> Evaluate(const Condition& condition, const std::vector<values::Value>& row) {
  switch (condition.kind) {
    case Condition::Kind::kCompare: {
      const std::optional<Scalar> left = OperandScalar(condition.left, row);
      const std::optional<Scalar> right = OperandScalar(condition.right, row);
      if (!left || !right) {
        return std::nullopt;
      }
      return Compare(condition.op, *left, *right);
    }
    case Condition::Kind::kIsNull:
    case Condition::Kind::kIsNotNull: {
      const std::optional<Scalar> value = OperandScalar(condition.left, row);
      if (!value) {
        return std::nullopt;
      }
      const bool null = std::holds_alternative<std::monostate>(*value);
      return FromBool(condition.kind == Condition::Kind::kIsNull ? null : !null);
    }
    case Condition::Kind::kNot: {
      if (condition.children.size() != 1) {
        return std::nullopt;
      }
      const std::optional<Truth> inner = Evaluate(condition.children[0], row);
      if (!inner || *inner == Truth::kNull) {
        return inner;
      }
      return FromBool(*inner == Truth::kFalse);
    }
    case Condition::Kind::kAnd:
    case Condition::Kind::kOr:
      break;
  }
  if (condition.children.size() != 2) {
    return std::nullopt;
  }
  const std::optional<Truth> left = Evaluate(condition.children[0], row);
  const std::optional<Truth> right = Evaluate(condition.children[1], row);
  if (!left || !right) {
    return std::nullopt;
  }
  // Three-valued logic: False decides AND, True decides OR, otherwise Null wins.
  const Truth deciding = condition.kind == Condition::Kind::kAnd ? Truth::kFalse : Truth::kTrue;
  if (*left == deciding || *right == deciding) {
    return deciding;
  }
  if (*left == Truth::kNull || *right == Truth::kNull) {
    return Truth::kNull;
  }
  return condition.kind == Condition::Kind::kAnd ? Truth::kTrue : Truth::kFalse;
}

}  // namespace lumora::services::sql
