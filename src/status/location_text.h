// The texts a location database gives and how the locator tidies them.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/text.h"

namespace lumora::status {

// The text the database files carry where they have no country or no area.
inline constexpr std::string_view kLocationMarker = " CZ88.NET";

// The country text that stands for an address the database does not know.
Text UnknownCountry();

// The location shown for a country and an area as the database gives them, on the country text
// followed by the area text in one (the country is the first `country_length` bytes): a country
// that names an unknown address or the database itself becomes "未知" with no area; a country or
// an area equal to the marker stands for none ("未知" for the country, empty for the area).
void CleanLocationInPlace(Text& location, std::size_t country_length);

}  // namespace lumora::status
