// A field value given by the program as text (GBK, or Null) turned into the value a column
// stores: text columns take the text, numeric columns its decimal value.
#pragma once

#include <optional>

#include "base/text.h"
#include "services/jet/table_definition.h"
#include "services/jet/values.h"

namespace lumora::jet {

// Empty when the text does not fit the column's kind (not a number, out of range) or the kind
// is one this engine does not write.
std::optional<Value> ParseFieldText(const Column& column, const std::optional<Text>& text);

}  // namespace lumora::jet
