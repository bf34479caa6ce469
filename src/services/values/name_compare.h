// Table and column names match as Jet matches them: without regard to letter case.
#pragma once

#include <string_view>

namespace lumora::values {

// Upper-case form of a character for name comparison: ASCII, Latin-1, Greek, Cyrillic and
// full-width Latin letters fold; everything else (Chinese included) stands for itself.
char16_t FoldNameChar(char16_t c);

bool SameName(std::u16string_view a, std::u16string_view b);

}  // namespace lumora::values
