#include "services/sql/column_value.h"

#include <charconv>
#include <cstdint>

#include "platform/code_page.h"

namespace lumora::services::sql {
namespace {

bool IntegerInRange(const Text& text, std::int64_t low, std::int64_t high) {
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() && number >= low &&
         number <= high;
}

bool IsDecimalNumber(const Text& text) {
  double number = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::fixed);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool AcceptsValue(const StoredColumn& column, const std::optional<Text>& value) {
  if (column.auto_number) {
    return false;
  }
  if (!value) {
    return column.nullable;
  }
  switch (column.type) {
    case values::ColumnType::kText:
      return platform::GbkToWide(*value).size() * 2 <= column.length;
    case values::ColumnType::kMemo:
      return true;
    case values::ColumnType::kByte:
      return IntegerInRange(*value, 0, 255);
    case values::ColumnType::kInteger:
      return IntegerInRange(*value, INT16_MIN, INT16_MAX);
    case values::ColumnType::kLong:
      return IntegerInRange(*value, INT32_MIN, INT32_MAX);
    case values::ColumnType::kSingle:
    case values::ColumnType::kDouble:
      return IsDecimalNumber(*value);
    default:
      return false;
  }
}

}  // namespace lumora::services::sql
