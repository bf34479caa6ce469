// The RC4 stream cipher: the data XORed with the keystream, so one call both enciphers and
// deciphers.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "base/text.h"

namespace lumora::services {

class Rc4 {
 public:
  // An empty key leaves the state at the identity permutation.
  explicit Rc4(std::span<const std::uint8_t> key);

  std::uint8_t NextKeystreamByte();

  // XORs the next data.size() keystream bytes into `data`.
  void Apply(std::span<std::uint8_t> data);

 private:
  std::array<std::uint8_t, 256> state_{};
  std::uint8_t i_ = 0;
  std::uint8_t j_ = 0;
};

// `data` XORed with the keystream of a fresh state under `key`.
Bytes Rc4Transform(const Bytes& data, std::span<const std::uint8_t> key);

}  // namespace lumora::services
