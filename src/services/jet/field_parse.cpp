#include "services/jet/field_parse.h"

#include <charconv>
#include <limits>

#include "platform/code_page.h"

namespace lumora::jet {
namespace {

template <typename T>
std::optional<Value> ParseInteger(const Text& text) {
  long long number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error != std::errc() || stop != end || text.empty() ||
      number < static_cast<long long>(std::numeric_limits<T>::min()) ||
      number > static_cast<long long>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
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
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace lumora::jet
