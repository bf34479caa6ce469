// Little-endian and big-endian field writes into page and row buffers. The caller has checked
// that the field fits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumora::jet {

inline void PutU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU24(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  PutU16(bytes, offset, value);
  bytes[offset + 2] = static_cast<std::uint8_t>(value >> 16);
}

inline void PutU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  PutU24(bytes, offset, value);
  bytes[offset + 3] = static_cast<std::uint8_t>(value >> 24);
}

// Index entries keep page numbers and keys most significant byte first.
inline void PutBigEndian(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value,
                         std::size_t width) {
  for (std::size_t index = 0; index < width; ++index) {
    bytes[offset + index] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - index)));
  }
}

inline std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t index = 0; index < width; ++index) {
    value = (value << 8) | bytes[offset + index];
  }
  return value;
}

}  // namespace lumora::jet
