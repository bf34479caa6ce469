#include "secret.h"

#include <windows.h>

namespace rdp_client {

Secret& Secret::operator=(Secret&& other) noexcept {
  if (this != &other) {
    Wipe();
    bytes_ = std::move(other.bytes_);
  }
  return *this;
}

void Secret::Truncate(std::size_t size) {
  if (size < bytes_.size()) {
    WipeMemory(bytes_.data() + size, bytes_.size() - size);
    bytes_.resize(size);
  }
}

void Secret::Wipe() {
  WipeMemory(bytes_.data(), bytes_.size());
  bytes_.clear();
}

void WipeMemory(void* memory, std::size_t size) {
  if (memory != nullptr && size != 0) {
    ::SecureZeroMemory(memory, size);
  }
}

}  // namespace rdp_client
