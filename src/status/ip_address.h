// The number the locator searches for, read from a dotted address text.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumora::status {

// Splits `text` at every "." that stands as a whole character; the text after the last "."
// counts as a piece only when it is not empty. Anything but exactly four pieces gives 0.
// Each piece is read as a decimal number from its start (leading blanks, a sign, a fraction
// and an exponent accepted; a piece without a number is 0) with no range check, and the pieces
// are combined as p0 * 2^24 + p1 * 2^16 + p2 * 2^8 + p3 in double precision, truncated toward
// zero. Results beyond the 64-bit range are held at its ends.
std::int64_t ParseAddress(std::string_view text);

// The leading decimal number of `piece`, as described above; 0 when it starts with none.
double LeadingNumber(std::string_view piece);

}  // namespace lumora::status
