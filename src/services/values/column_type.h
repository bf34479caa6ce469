// Column data types, by the codes an Access table definition stores for them.
#pragma once

#include <cstdint>

namespace lumora::values {

enum class ColumnType : std::uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInteger = 0x03,  // 16-bit
  kLong = 0x04,     // 32-bit
  kCurrency = 0x05,
  kSingle = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
  kGuid = 0x0F,
  kNumeric = 0x10,
};

}  // namespace lumora::values
