#include "services/rc4.h"

#include <cstddef>
#include <utility>

namespace lumora::services {

Rc4::Rc4(std::span<const std::uint8_t> key) {
  for (std::size_t index = 0; index < state_.size(); ++index) {
    state_[index] = static_cast<std::uint8_t>(index);
  }
  if (key.empty()) {
    return;
  }
  std::uint8_t j = 0;
  for (std::size_t index = 0; index < state_.size(); ++index) {
    j = static_cast<std::uint8_t>(j + state_[index] + key[index % key.size()]);
    std::swap(state_[index], state_[j]);
  }
}

std::uint8_t Rc4::NextKeystreamByte() {
  i_ = static_cast<std::uint8_t>(i_ + 1);
  j_ = static_cast<std::uint8_t>(j_ + state_[i_]);
  std::swap(state_[i_], state_[j_]);
  return state_[static_cast<std::uint8_t>(state_[i_] + state_[j_])];
}

void Rc4::Apply(std::span<std::uint8_t> data) {
  for (std::uint8_t& byte : data) {
    byte ^= NextKeystreamByte();
  }
}

Bytes Rc4Transform(const Bytes& data, std::span<const std::uint8_t> key) {
  Bytes result = data;
  Rc4 cipher(key);
  cipher.Apply(result);
  return result;
}

}  // namespace lumora::services
