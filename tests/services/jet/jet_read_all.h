// Reads everything a database offers, as the hostile-input tests and the fuzz target do.
#pragma once

#include <cstddef>

#include "services/jet/database.h"

namespace lumora::jet::testing {

struct ReadTotals {
  std::size_t tables = 0;
  std::size_t rows = 0;
  std::size_t text_bytes = 0;
};

// Opens every table of the catalog (system tables included), reads every row and turns every
// value into text.
ReadTotals ReadEverything(const Database& database);

}  // namespace lumora::jet::testing
