// Sort codes of the General (Legacy) order used by Jet 4 text indexes, for the characters whose
// code this engine knows: letters (case-folded) and most digits. Other characters have extra
// sections in their keys and are not encoded.
#pragma once

#include <cstdint>
#include <optional>

namespace lumora::jet {

std::optional<std::uint8_t> GeneralSortCode(char16_t c);

}  // namespace lumora::jet
