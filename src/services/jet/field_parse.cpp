#include "services/jet/field_parse.h"

#include <charconv>
#include <limits>

#include "platform/code_page.h"
#include "services/jet/failure.h"

namespace lumora::jet {
namespace {

template <typename T>
std::optional<Value> ParseInteger(const Text& text) {
  long long number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  JET_REFUSE_IF(error != std::errc() || stop != end || text.empty(),
                "a number column's value is no whole number");
  JET_REFUSE_IF(number < static_cast<long long>(std::numeric_limits<T>::min()) ||
                    number > static_cast<long long>(std::numeric_limits<T>::max()),
                "a number does not fit its column");
  return Value(static_cast<T>(number));
}

}  // namespace

std::optional<Value> ParseFieldText(const Column& column, const std::optional<Text>& text) {
  if (!text) {
    return Value(std::monostate{});
  }
  switch (column.type) {
    case ColumnType::kText:
      return Value(platform::GbkToWide(*text));
    case ColumnType::kByte:
      return ParseInteger<std::uint8_t>(*text);
    case ColumnType::kInteger:
      return ParseInteger<std::int16_t>(*text);
    case ColumnType::kLong:
      return ParseInteger<std::int32_t>(*text);
    case ColumnType::kBoolean:
      if (*text == "TRUE" || *text == "1") {
        return Value(true);
      }
      if (*text == "FALSE" || *text == "0") {
        return Value(false);
      }
      JET_REFUSE("a Yes/No column takes TRUE, FALSE, 1 or 0");
    default:
      JET_REFUSE("this engine writes no values of the column's type");
  }
}

}  // namespace lumora::jet
