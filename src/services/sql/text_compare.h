// Jet's comparison of text values: letter case and trailing blanks do not count, accents do.
#pragma once

#include <optional>
#include <string_view>

namespace lumora::services::sql {

bool SameText(std::u16string_view a, std::u16string_view b);

// Order of `a` against `b` (<0, 0, >0). Jet orders by its sort order, which agrees with a plain
// comparison of the case-folded texts only for letters, digits and blanks; for any other
// character the order is not known here and the result is empty.
std::optional<int> CompareTextOrder(std::u16string_view a, std::u16string_view b);

}  // namespace lumora::services::sql
