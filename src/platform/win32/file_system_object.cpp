#include "platform/win32/file_system_object.h"

#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "platform/code_page.h"

namespace lumora::platform::win32 {
namespace {

// One reference to a COM interface, released once.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void** put() {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void reset() {
    if (T* old = std::exchange(pointer_, nullptr)) {
      old->Release();
    }
  }

 private:
  T* pointer_ = nullptr;
};

class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT& get() { return value_; }
  VARIANT* put() {
    ::VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// The thread's COM apartment for as long as the object lives, when it can be entered.
class Apartment {
 public:
  Apartment() : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Apartment() {
    if (entered_) {
      ::CoUninitialize();
    }
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  bool entered_;
};

bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument,
            VARIANT* result) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    return false;
  }
  DISPPARAMS parameters{};
  parameters.rgvarg = argument;
  parameters.cArgs = argument != nullptr ? 1 : 0;
  EXCEPINFO exception{};
  UINT argumentError = 0;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                                    &exception, &argumentError);
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  return SUCCEEDED(hr);
}

}  // namespace

int FileSystemObjectDriveType(const Text& root) {
  const Apartment apartment;
  CLSID classId{};
  if (FAILED(::CLSIDFromProgID(L"scripting.FileSystemObject", &classId))) {
    return 0;
  }
  ComRef<IDispatch> fileSystem;
  if (FAILED(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, fileSystem.put()))) {
    return 0;
  }
  const std::u16string wideRoot = GbkToWide(root);
  Variant argument;
  argument.get().vt = VT_BSTR;
  argument.get().bstrVal = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wideRoot.data()),
                                               static_cast<UINT>(wideRoot.size()));
  if (argument.get().bstrVal == nullptr) {
    return 0;
  }
  Variant drive;
  if (!Invoke(fileSystem.get(), L"GetDrive", DISPATCH_METHOD, &argument.get(), drive.put()) ||
      drive.get().vt != VT_DISPATCH || drive.get().pdispVal == nullptr) {
    return 0;
  }
  Variant type;
  if (!Invoke(drive.get().pdispVal, L"DriveType", DISPATCH_PROPERTYGET, nullptr, type.put())) {
    return 0;
  }
  Variant converted;
  if (FAILED(::VariantChangeType(converted.put(), &type.get(), 0, VT_I4))) {
    return 0;
  }
  return static_cast<int>(converted.get().lVal);
}

}  // namespace lumora::platform::win32
