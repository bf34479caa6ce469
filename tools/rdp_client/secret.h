// Bytes that must not outlive their use: the password and everything it passes through. The
// buffer is wiped when it goes away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rdp_client {

class Secret {
 public:
  Secret() = default;
  explicit Secret(std::size_t size) : bytes_(size) {}
  ~Secret() { Wipe(); }
  Secret(Secret&& other) noexcept : bytes_(std::move(other.bytes_)) {}
  Secret& operator=(Secret&& other) noexcept;
  Secret(const Secret&) = delete;
  Secret& operator=(const Secret&) = delete;

  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }

  // Drops everything from `size` on, wiping it first.
  void Truncate(std::size_t size);
  void Wipe();

 private:
  std::vector<std::uint8_t> bytes_;
};

// Zeroes memory in a way the compiler may not leave out.
void WipeMemory(void* memory, std::size_t size);

}  // namespace rdp_client
