// Whether a text (or Null) may be written into a column, checked before anything is stored so
// that a statement either makes all its changes or fails without any.
#pragma once

#include <optional>

#include "base/text.h"
#include "services/sql/table_store.h"

namespace lumora::services::sql {

// Null: only into a column that allows it. Text and Memo: any text that fits the declared
// length. Byte, Integer, Long: a decimal integer in range. Single, Double: a decimal number.
// Counters and every other kind: never.
bool AcceptsValue(const StoredColumn& column, const std::optional<Text>& value);

}  // namespace lumora::services::sql
