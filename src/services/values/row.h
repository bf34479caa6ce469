// A row of a table as the database layer reads it: where it is stored, and its values.
#pragma once

#include <cstdint>
#include <vector>

#include "services/values/value.h"

namespace lumora::values {

// Where a row is stored (in an Access file, the page and slot of its header; an overflow row
// keeps this address while its data moves). A store's own handle on the row.
struct RowId {
  std::uint32_t page = 0;
  std::uint8_t row = 0;
  friend bool operator==(const RowId&, const RowId&) = default;
};

struct Row {
  RowId id;
  // One value per column, in the order of the table's columns.
  std::vector<Value> values;
};

}  // namespace lumora::values
