// A field value as the database layer hands it to the program: GBK text, formatted by the
// value's kind.
#pragma once

#include "base/text.h"
#include "services/values/value.h"

namespace lumora::values {

// Null: empty. Integers: decimal. Single: "%.4f". Double and Decimal: "%.8f". Currency: its
// decimal text. Date: "%Y-%m-%d %H:%M:%S". Text: converted to GBK. Boolean: "TRUE"/"FALSE".
// GUID: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". Binary and OLE data: "[BLOB]".
Text FieldToText(const Value& value);

}  // namespace lumora::values
