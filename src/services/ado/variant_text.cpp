#include "services/ado/variant_text.h"

#include <cstdio>
#include <string>

#include "platform/win32/com.h"
#include "services/values/field_text.h"

namespace lumora::services::ado {
namespace {

// The built-in engine formats the same kinds; one formatter keeps both engines' texts equal.
Text Formatted(const values::Value& value) {
  return values::FieldToText(value);
}

Text Integer(long long number) {
  return Formatted(static_cast<std::int32_t>(number));
}

}  // namespace

Text VariantText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_I1:
      return Integer(value.cVal);
    case VT_I2:
      return Integer(value.iVal);
    case VT_I4:
      return Integer(value.lVal);
    case VT_INT:
      return Integer(value.intVal);
    case VT_I8:
      return Integer(value.llVal);
    case VT_UI1:
      return Integer(value.bVal);
    case VT_UI2:
      return Integer(value.uiVal);
    case VT_UI4:
      return Integer(value.ulVal);
    case VT_UINT:
      return Integer(value.uintVal);
    case VT_UI8:
      return Integer(static_cast<long long>(value.ullVal));
    case VT_R4:
      return Formatted(value.fltVal);
    case VT_R8:
      return Formatted(value.dblVal);
    case VT_DECIMAL: {
      double number = 0;
      if (!platform::win32::DecimalToDouble(value.decVal, number)) {
        return {};
      }
      return Formatted(number);
    }
    case VT_CY:
      return Formatted(values::Currency{value.cyVal.int64});
    case VT_DATE:
      return Formatted(values::DateTime{value.date});
    case VT_BSTR:
      return Formatted(std::u16string(reinterpret_cast<const char16_t*>(value.bstrVal),
                                      platform::win32::BstrLength(value.bstrVal)));
    // Narrow and wide C strings arrive by pointer.
    case VT_LPWSTR:
      return value.byref == nullptr
                 ? Text()
                 : Formatted(std::u16string(static_cast<const char16_t*>(value.byref)));
    case VT_LPSTR:
      return value.byref == nullptr ? Text() : Text(static_cast<const char*>(value.byref));
    case VT_BOOL:
      return Formatted(value.boolVal != VARIANT_FALSE);
    case VT_VOID: {
      char text[16] = {};
      std::snprintf(text, sizeof text, "%8lx", static_cast<unsigned long>(value.ulVal));
      return text;
    }
    case VT_BLOB:
    case VT_BLOB_OBJECT:
    case VT_ARRAY | VT_UI1:
      return "[BLOB]";
    default:
      return "UN_KNOW";
  }
}

}  // namespace lumora::services::ado
