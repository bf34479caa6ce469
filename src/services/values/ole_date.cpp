#include "services/values/ole_date.h"

#include <cmath>

namespace lumora::values {
namespace {

constexpr double kMinOleDate = -657434.0;  // 0100-01-01
constexpr double kMaxOleDate = 2958466.0;  // 10000-01-01
constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

void CivilFromDays(std::int64_t days, CivilTime& out) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  out.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  out.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  out.year =
      static_cast<int>(static_cast<std::int64_t>(year_of_era) + era * 400 + (out.month <= 2));
}

}  // namespace

std::optional<CivilTime> OleDateToCivil(double days) {
  if (!std::isfinite(days) || days <= kMinOleDate - 1 || days >= kMaxOleDate) {
    return std::nullopt;
  }
  // The whole part counts days from the epoch; the fraction is always a forward time of day.
  const double whole = std::trunc(days);
  std::int64_t day = static_cast<std::int64_t>(whole);
  std::int64_t seconds = std::llround(std::fabs(days - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++day;
  }
  CivilTime time;
  CivilFromDays(DaysFromCivil(1899, 12, 30) + day, time);
  if (time.year < 100 || time.year > 9999) {
    return std::nullopt;
  }
  time.hour = static_cast<int>(seconds / 3600);
  time.minute = static_cast<int>(seconds / 60 % 60);
  time.second = static_cast<int>(seconds % 60);
  return time;
}

}  // namespace lumora::values
