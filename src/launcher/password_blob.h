// The server's password as the session file carries it: protected for the current Windows user
// and spelt in hexadecimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "base/text.h"

namespace lumora::launcher {

// The block handed to the protection service is always this long.
inline constexpr std::size_t kPasswordBlockBytes = 512;

// The description stored with the protected block.
inline constexpr char16_t kPasswordDescription[] = u"psw";

// Protects a block for the current user; gives nothing when it fails.
using DataProtector =
    std::function<Bytes(std::span<const std::uint8_t> block, std::u16string_view description)>;

// The 512-byte block: the password (GBK) as UTF-16 little-endian with its terminating zero
// character, cut to 512 bytes when longer (no terminator then), zero bytes after it when shorter.
Bytes PasswordBlock(const Text& password);

// Two upper-case hexadecimal digits per byte, then one more "0": always an odd length.
Text SpellPasswordBlob(std::span<const std::uint8_t> blob);

// The password block protected by `protect` and spelt. When protection fails the text is "0".
Text MakePasswordBlob(const Text& password, const DataProtector& protect);

// The same with the system's data-protection service.
Text MakePasswordBlob(const Text& password);

}  // namespace lumora::launcher
