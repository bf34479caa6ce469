#include "platform/win32/com.h"

#include <vector>

#include "platform/code_page.h"
#include "platform/win32/system_library.h"

namespace lumora::platform::win32 {
namespace {

// COM's and OLE automation's functions, each found once. A missing one fails its call as a
// missing class would.
template <typename FunctionPointer>
FunctionPointer Ole32(const char* name) {
  return SystemFunction<FunctionPointer>(L"ole32.dll", name);
}
template <typename FunctionPointer>
FunctionPointer OleAut32(const char* name) {
  return SystemFunction<FunctionPointer>(L"oleaut32.dll", name);
}

}  // namespace

void FreeBstr(BSTR text) noexcept {
  static const auto free = OleAut32<decltype(&::SysFreeString)>("SysFreeString");
  if (text != nullptr && free != nullptr) {
    free(text);
  }
}

void ClearVariant(VARIANT& value) noexcept {
  static const auto clear = OleAut32<decltype(&::VariantClear)>("VariantClear");
  if (value.vt != VT_EMPTY && clear != nullptr) {
    clear(&value);
  }
}

UINT BstrLength(BSTR text) noexcept {
  static const auto length = OleAut32<decltype(&::SysStringLen)>("SysStringLen");
  return text != nullptr && length != nullptr ? length(text) : 0;
}

bool DecimalToDouble(const DECIMAL& decimal, double& number) noexcept {
  static const auto convert = OleAut32<decltype(&::VarR8FromDec)>("VarR8FromDec");
  return convert != nullptr && SUCCEEDED(convert(const_cast<DECIMAL*>(&decimal), &number));
}

UniqueBstr ToBstr(std::string_view text) {
  // COM takes wide strings; the program's texts are GBK whatever the system's code page.
  const std::u16string wide = GbkToWide(text);
  static const auto allocate = OleAut32<decltype(&::SysAllocStringLen)>("SysAllocStringLen");
  if (allocate == nullptr) {
    return {};
  }
  return UniqueBstr(
      allocate(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size())));
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

UniqueVariant UniqueVariant::Reference(VARIANT* target) {
  UniqueVariant variant;
  variant.value_.vt = VT_BYREF | VT_VARIANT;
  variant.value_.pvarVal = target;
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
  static const auto enter = Ole32<decltype(&::CoInitializeEx)>("CoInitializeEx");
  entered_ = enter != nullptr && SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED));
}

ComApartment::~ComApartment() {
  static const auto leave = Ole32<decltype(&::CoUninitialize)>("CoUninitialize");
  if (entered_ && leave != nullptr) {
    leave();
  }
}

namespace {

constexpr DWORD kAllServerKinds =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;  // 7

DispatchFailure& Failure() {
  thread_local DispatchFailure failure;
  return failure;
}

bool Invoke(IDispatch* object, const wchar_t* name, WORD flags,
            std::initializer_list<const UniqueVariant*> arguments, const UniqueVariant* put_value,
            VARIANT* result) {
  if (object == nullptr) {
    return false;
  }
  Failure() = {};
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
      FAILED(hr)) {
    Failure().result = hr;
    return false;
  }
  // IDispatch takes the arguments last first; a property's new value comes first of all.
  // The VARIANTs are shallow copies: their owners outlive the call.
  std::vector<VARIANT> reversed;
  if (put_value != nullptr) {
    reversed.push_back(put_value->get());
  }
  for (auto it = std::rbegin(arguments); it != std::rend(arguments); ++it) {
    reversed.push_back((*it)->get());
  }
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
  parameters.cArgs = static_cast<UINT>(reversed.size());
  if (put_value != nullptr) {
    parameters.rgdispidNamedArgs = &put_id;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argument_error = 0;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                                    &exception, &argument_error);
  const UniqueBstr source(exception.bstrSource);
  const UniqueBstr description(exception.bstrDescription);
  const UniqueBstr help_file(exception.bstrHelpFile);
  if (FAILED(hr)) {
    Failure().result = hr == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : hr;
    Failure().description = description.get() != nullptr ? description.get() : L"";
  }
  return SUCCEEDED(hr);
}

}  // namespace

const DispatchFailure& LastDispatchFailure() {
  return Failure();
}

ComRef<IDispatch> CreateObject(const wchar_t* prog_id) {
  static const auto find_class = Ole32<decltype(&::CLSIDFromProgID)>("CLSIDFromProgID");
  static const auto create = Ole32<decltype(&::CoCreateInstance)>("CoCreateInstance");
  static const auto run = Ole32<decltype(&::OleRun)>("OleRun");
  if (find_class == nullptr || create == nullptr || run == nullptr) {
    return {};
  }
  CLSID class_id{};
  if (FAILED(find_class(prog_id, &class_id))) {
    return {};
  }
  ComRef<IUnknown> unknown;
  if (FAILED(create(class_id, nullptr, kAllServerKinds, IID_IUnknown,
                    reinterpret_cast<void**>(unknown.put())))) {
    return {};
  }
  if (FAILED(run(unknown.get()))) {
    return {};
  }
  ComRef<IDispatch> dispatch;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())))) {
    return {};
  }
  return dispatch;
}

bool CallMethod(IDispatch* object, const wchar_t* name,
                std::initializer_list<const UniqueVariant*> arguments, UniqueVariant* result) {
  UniqueVariant ignored;
  UniqueVariant& out = result != nullptr ? *result : ignored;
  return Invoke(object, name, DISPATCH_METHOD, arguments, nullptr, out.put());
}

bool GetProperty(IDispatch* object, const wchar_t* name, UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments) {
  return Invoke(object, name, DISPATCH_PROPERTYGET, arguments, nullptr, value.put());
}

bool PutProperty(IDispatch* object, const wchar_t* name, const UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments) {
  return Invoke(object, name, DISPATCH_PROPERTYPUT, arguments, &value, nullptr);
}

bool GetLongProperty(IDispatch* object, const wchar_t* name, LONG& value) {
  UniqueVariant read;
  if (!GetProperty(object, name, read)) {
    return false;
  }
  static const auto change = OleAut32<decltype(&::VariantChangeType)>("VariantChangeType");
  UniqueVariant converted;
  if (change == nullptr ||
      FAILED(change(converted.put(), const_cast<VARIANT*>(&read.get()), 0, VT_I4))) {
    return false;
  }
  value = converted.get().lVal;
  return true;
}

}  // namespace lumora::platform::win32
