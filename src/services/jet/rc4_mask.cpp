#include "services/jet/rc4_mask.h"

#include <array>
#include <utility>

namespace lumora::jet {

void Rc4Xor(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
  std::array<std::uint8_t, 256> state{};
  for (std::size_t index = 0; index < state.size(); ++index) {
    state[index] = static_cast<std::uint8_t>(index);
  }
  if (!key.empty()) {
    std::uint8_t j = 0;
    for (std::size_t index = 0; index < state.size(); ++index) {
      j = static_cast<std::uint8_t>(j + state[index] + key[index % key.size()]);
      std::swap(state[index], state[j]);
    }
  }
  std::uint8_t i = 0;
  std::uint8_t j = 0;
  for (std::uint8_t& byte : data) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + state[i]);
    std::swap(state[i], state[j]);
    byte ^= state[static_cast<std::uint8_t>(state[i] + state[j])];
  }
}

void Rc4Xor(std::uint32_t key, std::span<std::uint8_t> data) {
  const std::array<std::uint8_t, 4> bytes = {
      static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
      static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 24)};
  Rc4Xor(bytes, data);
}

}  // namespace lumora::jet
