// One field of a row as the file holds it, before any conversion to text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

#include "base/text.h"

namespace lumora::values {

// Fixed point with four decimals: 1.5 is 15000.
struct Currency {
  std::int64_t ten_thousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// OLE date: days since 1899-12-30; the fraction is the time of day.
struct DateTime {
  double days = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// As stored: Data1, Data2 and Data3 little-endian, then the 8 remaining bytes.
struct Guid {
  std::array<std::uint8_t, 16> bytes{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// Exact decimal: a 128-bit magnitude over 10^scale.
struct Decimal {
  bool negative = false;
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Binary, Long Binary (OLE object) data.
struct Blob {
  Bytes bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};

// std::monostate stands for Null. Text and Memo values are UTF-16.
using Value = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, Currency,
                           float, double, DateTime, Blob, std::u16string, Guid, Decimal>;

inline bool IsNull(const Value& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace lumora::values
