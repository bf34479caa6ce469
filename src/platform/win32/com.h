// COM, once for the whole program: owners for interface pointers, BSTRs, VARIANTs and the thread's
// apartment, and late-bound calls through IDispatch. The ADO engine and the file-system object
// both go through it. Included by the Windows adapters only.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "base/text.h"

namespace lumora::platform::win32 {

// One reference to a COM interface, released once.
template <typename T>
class ComRef {
 public:
  ComRef() noexcept = default;
  // Takes over a reference the caller holds.
  explicit ComRef(T* pointer) noexcept : pointer_(pointer) {}
  ~ComRef() { reset(); }
  ComRef(const ComRef& other) noexcept : pointer_(other.pointer_) {
    if (pointer_ != nullptr) {
      pointer_->AddRef();
    }
  }
  ComRef& operator=(const ComRef& other) noexcept {
    ComRef copy(other);
    std::swap(pointer_, copy.pointer_);
    return *this;
  }
  ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.pointer_, nullptr));
    }
    return *this;
  }

  T* get() const noexcept { return pointer_; }
  T* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  // For functions that hand out a new reference; drops the one held.
  T** put() noexcept {
    reset();
    return &pointer_;
  }
  void reset(T* pointer = nullptr) noexcept {
    T* old = std::exchange(pointer_, pointer);
    if (old != nullptr) {
      old->Release();
    }
  }

 private:
  T* pointer_ = nullptr;
};

// OLE automation's own functions, found when first called (see system_library.h).
void FreeBstr(BSTR text) noexcept;
void ClearVariant(VARIANT& value) noexcept;
// The length of `text` in UTF-16 units (0 for null).
UINT BstrLength(BSTR text) noexcept;
// A decimal as a double; false when it cannot be converted.
bool DecimalToDouble(const DECIMAL& decimal, double& number) noexcept;

// A BSTR freed once.
class UniqueBstr {
 public:
  UniqueBstr() noexcept = default;
  explicit UniqueBstr(BSTR text) noexcept : text_(text) {}
  ~UniqueBstr() { FreeBstr(text_); }
  UniqueBstr(UniqueBstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept {
    if (this != &other) {
      FreeBstr(std::exchange(text_, std::exchange(other.text_, nullptr)));
    }
    return *this;
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;

  BSTR get() const noexcept { return text_; }
  BSTR release() noexcept { return std::exchange(text_, nullptr); }

 private:
  BSTR text_ = nullptr;
};

// A VARIANT cleared once; starts empty.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { value_.vt = VT_EMPTY; }
  ~UniqueVariant() { ClearVariant(value_); }
  UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) {
    other.value_.vt = VT_EMPTY;
  }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      ClearVariant(value_);
      value_ = other.value_;
      other.value_.vt = VT_EMPTY;
    }
    return *this;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  static UniqueVariant Int(LONG number);
  // GBK text as a wide string variant.
  static UniqueVariant String(std::string_view text);
  static UniqueVariant Null();
  // A new reference to `object`.
  static UniqueVariant Object(IDispatch* object);
  // An argument passed by reference: the callee writes its value into `target`, which the caller
  // owns and must keep alive for the call.
  static UniqueVariant Reference(VARIANT* target);

  const VARIANT& get() const noexcept { return value_; }
  // For functions that fill in a VARIANT; clears the one held.
  VARIANT* put() noexcept {
    ClearVariant(value_);
    return &value_;
  }

 private:
  VARIANT value_{};
};

// GBK text as a new BSTR (empty when it cannot be allocated).
UniqueBstr ToBstr(std::string_view text);

// The thread's COM apartment, entered for the lifetime of the object when it can be.
class ComApartment {
 public:
  ComApartment() noexcept;
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_ = false;
};

// --- late-bound calls ---
// Creates the object registered under `prog_id` the way the program always has: class id from
// the ProgID, CoCreateInstance in any server kind for IUnknown, OleRun, then IDispatch. Empty
// when any step fails.
ComRef<IDispatch> CreateObject(const wchar_t* prog_id);

// Why the last late-bound call of this thread failed: its result and the description that the
// object gave in its exception information (empty when it gave none).
struct DispatchFailure {
  HRESULT result = S_OK;
  std::wstring description;
};
const DispatchFailure& LastDispatchFailure();

// Calls method `name` with `arguments` (in their natural order); `result` (may be null) receives
// its value.
bool CallMethod(IDispatch* object, const wchar_t* name,
                std::initializer_list<const UniqueVariant*> arguments,
                UniqueVariant* result = nullptr);

// Reads property `name`, optionally indexed by `arguments`.
bool GetProperty(IDispatch* object, const wchar_t* name, UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments = {});

// Writes property `name`, optionally indexed by `arguments`.
bool PutProperty(IDispatch* object, const wchar_t* name, const UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments = {});

// An integer property as a LONG; false when it cannot be read or converted.
bool GetLongProperty(IDispatch* object, const wchar_t* name, LONG& value);

}  // namespace lumora::platform::win32
