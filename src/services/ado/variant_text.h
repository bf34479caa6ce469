// A field value as ADO hands it over, turned into the program's text by its variant type.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "base/text.h"

namespace lumora::services::ado {

// Empty and Null: empty. Integers: "%d". 4-byte float: "%.4f". 8-byte float and Decimal:
// "%.8f". Currency: its decimal text. Date: "%Y-%m-%d %H:%M:%S". Strings: GBK. Boolean:
// "TRUE"/"FALSE". Void: "%8x". Blobs and byte arrays: "[BLOB]". Anything else: "UN_KNOW".
Text VariantText(const VARIANT& value);

}  // namespace lumora::services::ado
