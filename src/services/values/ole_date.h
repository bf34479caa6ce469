// OLE automation dates (days since 1899-12-30, the fraction being the time of day, also for
// dates before the epoch) to calendar fields.
#pragma once

#include <cstdint>
#include <optional>

namespace lumora::values {

struct CivilTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Rounded to the nearest second; empty outside the years 100..9999 that OLE dates allow.
std::optional<CivilTime> OleDateToCivil(double days);

}  // namespace lumora::values
