// RC4 as the file format uses it: to mask part of the header page and, in files with a
// database key, to encrypt every other page.
#pragma once

#include <cstdint>
#include <span>

namespace lumora::jet {

// XORs `data` with the RC4 keystream of `key`; applying it twice restores the data.
void Rc4Xor(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

// The key as 4 little-endian bytes, the form both uses take.
void Rc4Xor(std::uint32_t key, std::span<std::uint8_t> data);

}  // namespace lumora::jet
