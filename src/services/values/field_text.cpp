#include "services/values/field_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "platform/code_page.h"
#include "services/values/ole_date.h"

namespace lumora::values {
namespace {

template <typename... Args>
Text Format(const char* format, Args... args) {
  // Doubles near their limits spell out over 300 digits with "%.8f".
  const int length = std::snprintf(nullptr, 0, format, args...);
  if (length < 0) {
    return {};
  }
  Text text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.pop_back();
  return text;
}

Text CurrencyText(Currency value) {
  const bool negative = value.ten_thousandths < 0;
  // Magnitude without overflow for the most negative value.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.ten_thousandths)
                                           : static_cast<std::uint64_t>(value.ten_thousandths);
  Text text =
      Format("%s%llu", negative ? "-" : "", static_cast<unsigned long long>(magnitude / 10000));
  unsigned fraction = static_cast<unsigned>(magnitude % 10000);
  if (fraction != 0) {
    Text digits = Format("%04u", fraction);
    while (digits.back() == '0') {
      digits.pop_back();
    }
    text += "." + digits;
  }
  return text;
}

double DecimalToDouble(const Decimal& value) {
  const double magnitude =
      std::ldexp(static_cast<double>(value.high), 64) + static_cast<double>(value.low);
  const double scaled = magnitude / std::pow(10.0, value.scale);
  return value.negative ? -scaled : scaled;
}

Text GuidText(const Guid& guid) {
  const auto& b = guid.bytes;
  return Format("{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                b[14], b[15]);
}

Text DateText(DateTime value) {
  const std::optional<CivilTime> time = OleDateToCivil(value.days);
  if (!time) {
    return {};
  }
  return Format("%04d-%02d-%02d %02d:%02d:%02d", time->year, time->month, time->day, time->hour,
                time->minute, time->second);
}

// Addresses, ports and user names are mostly ASCII, which GBK spells alike; only other texts
// pay for the code page conversion.
Text TextToGbk(const std::u16string& text) {
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
    return Text(text.begin(), text.end());
  }
  return platform::WideToGbk(text);
}

}  // namespace

Text FieldToText(const Value& value) {
  return std::visit(
      [](const auto& field) -> Text {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return {};
        } else if constexpr (std::is_same_v<T, bool>) {
          return field ? "TRUE" : "FALSE";
        } else if constexpr (std::is_integral_v<T>) {
          return Format("%d", static_cast<int>(field));
        } else if constexpr (std::is_same_v<T, float>) {
          return Format("%.4f", static_cast<double>(field));
        } else if constexpr (std::is_same_v<T, double>) {
          return Format("%.8f", field);
        } else if constexpr (std::is_same_v<T, Decimal>) {
          return Format("%.8f", DecimalToDouble(field));
        } else if constexpr (std::is_same_v<T, Currency>) {
          return CurrencyText(field);
        } else if constexpr (std::is_same_v<T, DateTime>) {
          return DateText(field);
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          return TextToGbk(field);
        } else if constexpr (std::is_same_v<T, Guid>) {
          return GuidText(field);
        } else {
          return "[BLOB]";
        }
      },
      value);
}

}  // namespace lumora::values
