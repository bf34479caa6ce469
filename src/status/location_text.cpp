#include "status/location_text.h"

namespace lumora::status {

Text UnknownCountry() {
  return "未知";
}

void CleanLocationInPlace(Text& location, std::size_t country_length) {
  const std::string_view country = std::string_view(location).substr(0, country_length);
  if (FindOnCharBoundary(country, "未知IP") != std::string_view::npos ||
      FindOnCharBoundary(country, "珊瑚虫版IP数据库") != std::string_view::npos) {
    location = UnknownCountry();
    return;
  }
  if (std::string_view(location).substr(country_length) == kLocationMarker) {
    location.resize(country_length);
  }
  if (country == kLocationMarker) {
    location.replace(0, country_length, UnknownCountry());
  }
}

}  // namespace lumora::status
