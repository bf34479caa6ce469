// Texts are GBK byte strings (code page 936); byte sequences are plain bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// A GBK lead byte takes the next byte with it as one character.
constexpr bool IsGbkLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// Length in bytes of the character that starts at `offset` (1 or 2; 1 at the end of the text).
std::size_t GbkCharLength(std::string_view text, std::size_t offset);

// Characters in `text`: a lead byte and the byte after it count as one.
std::size_t GbkCharCount(std::string_view text);

// Removes every half-width blank (0x20) and every full-width blank ("　", A1 A1) that stands as a
// whole character; the second byte of a double-byte character is never taken for a blank.
Text RemoveBlanks(std::string_view text);

// `text` with the ASCII letters of its single-byte characters in lower case; both bytes of a
// double-byte character stay as they are.
Text AsciiLowerCase(std::string_view text);

// Finds `needle` in `text` at or after `from`, only where a character starts.
std::size_t FindOnCharBoundary(std::string_view text, std::string_view needle,
                               std::size_t from = 0);

}  // namespace lumora
