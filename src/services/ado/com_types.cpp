#include "services/ado/com_types.h"

#include "platform/code_page.h"

namespace lumora::services::ado {

UniqueBstr ToBstr(std::string_view text) {
  // ADO takes wide strings; the program's texts are GBK whatever the system's code page.
  const std::u16string wide = platform::GbkToWide(text);
  return UniqueBstr(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                        static_cast<UINT>(wide.size())));
}

UniqueVariant UniqueVariant::Int(LONG number) {
  UniqueVariant variant;
  variant.value_.vt = VT_I4;
  variant.value_.lVal = number;
  return variant;
}

UniqueVariant UniqueVariant::String(std::string_view text) {
  UniqueVariant variant;
  variant.value_.bstrVal = ToBstr(text).release();
  if (variant.value_.bstrVal != nullptr) {
    variant.value_.vt = VT_BSTR;
  }
  return variant;
}

UniqueVariant UniqueVariant::Null() {
  UniqueVariant variant;
  variant.value_.vt = VT_NULL;
  return variant;
}

UniqueVariant UniqueVariant::Missing() {
  UniqueVariant variant;
  variant.value_.vt = VT_ERROR;
  variant.value_.scode = DISP_E_PARAMNOTFOUND;
  return variant;
}

UniqueVariant UniqueVariant::Object(IDispatch* object) {
  UniqueVariant variant;
  if (object != nullptr) {
    object->AddRef();
    variant.value_.vt = VT_DISPATCH;
    variant.value_.pdispVal = object;
  }
  return variant;
}

ComApartment::ComApartment() noexcept {
  // S_FALSE (already entered on this thread) must be balanced too; a thread in another
  // apartment kind (RPC_E_CHANGED_MODE) can still create the objects.
  entered_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComApartment::~ComApartment() {
  if (entered_) {
    ::CoUninitialize();
  }
}

}  // namespace lumora::services::ado
