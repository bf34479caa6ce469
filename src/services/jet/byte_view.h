// Little-endian field reads over page and row bytes. A field that does not lie wholly inside
// the bytes reads as zero, so a damaged structure can never lead a read outside its buffer;
// callers check `Fits` first wherever a zero would be taken for a real value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumora::jet {

using ByteView = std::span<const std::uint8_t>;

constexpr bool Fits(ByteView bytes, std::size_t offset, std::size_t length) {
  return offset <= bytes.size() && length <= bytes.size() - offset;
}

constexpr std::uint8_t U8(ByteView bytes, std::size_t offset) {
  return Fits(bytes, offset, 1) ? bytes[offset] : 0;
}

constexpr std::uint16_t U16(ByteView bytes, std::size_t offset) {
  if (!Fits(bytes, offset, 2)) {
    return 0;
  }
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

constexpr std::uint32_t U24(ByteView bytes, std::size_t offset) {
  if (!Fits(bytes, offset, 3)) {
    return 0;
  }
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16);
}

constexpr std::uint32_t U32(ByteView bytes, std::size_t offset) {
  if (!Fits(bytes, offset, 4)) {
    return 0;
  }
  return U24(bytes, offset) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

constexpr std::uint64_t U64(ByteView bytes, std::size_t offset) {
  if (!Fits(bytes, offset, 8)) {
    return 0;
  }
  return static_cast<std::uint64_t>(U32(bytes, offset)) |
         (static_cast<std::uint64_t>(U32(bytes, offset + 4)) << 32);
}

// The part of `bytes` from `offset` for `length` bytes, or an empty view when it does not fit.
constexpr ByteView Slice(ByteView bytes, std::size_t offset, std::size_t length) {
  return Fits(bytes, offset, length) ? bytes.subspan(offset, length) : ByteView{};
}

}  // namespace lumora::jet
