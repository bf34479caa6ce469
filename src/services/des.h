// The DES block cipher (FIPS 46-3), one 8-byte block at a time.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lumora::services {

using DesKey = std::array<std::uint8_t, 8>;

enum class DesDirection { kEncipher, kDecipher };

// The 16 round subkeys of one key, in the order the chosen direction applies them.
class DesSchedule {
 public:
  // `key` read as FIPS 46-3 reads it: bit 1 is the most significant bit of byte 0, and the
  // least significant bit of every byte is the ignored parity bit.
  DesSchedule(const DesKey& key, DesDirection direction);

  // `key` read from the least significant bit upwards within each byte, the way the stored
  // password is enciphered: the most significant bit of every byte is the ignored one.
  static DesSchedule FromLowBitFirstKey(const DesKey& key, DesDirection direction);

  // Enciphers or deciphers `block` in place; byte 0 holds the first 8 bits of the block.
  void Transform(std::span<std::uint8_t, 8> block) const;

 private:
  std::array<std::uint64_t, 16> subkeys_{};  // 48 bits each, in the low bits
};

// Every byte of `key` with its bit order reversed (bit 0 with bit 7, 1 with 6, ...). A low-bit-
// first key becomes the standard key that gives the same transform, and back.
DesKey ReverseKeyBitOrder(const DesKey& key);

}  // namespace lumora::services
