// Move-only ownership of a Windows handle. The close function runs exactly once and leaves the
// thread's last-error code as it found it, so a failing call's GetLastError() survives cleanup.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace lumora::platform::win32 {

namespace detail {

// GetLastError and SetLastError, kept out of this header so that it needs no <windows.h>.
std::uint32_t SaveLastError() noexcept;
void RestoreLastError(std::uint32_t error) noexcept;

void CloseFindHandle(void* handle) noexcept;    // FindClose
void CloseKernelHandle(void* handle) noexcept;  // CloseHandle

// Pointer handles are invalid when null or INVALID_HANDLE_VALUE (all bits set); integer handles
// (sockets) when all bits are set.
template <typename T>
bool IsValidHandle(T handle) noexcept {
  if constexpr (std::is_pointer_v<T>) {
    return handle != nullptr && reinterpret_cast<std::uintptr_t>(handle) != ~std::uintptr_t{0};
  } else {
    return handle != static_cast<T>(~T{});
  }
}

template <typename T>
constexpr T EmptyHandle() noexcept {
  if constexpr (std::is_pointer_v<T>) {
    return nullptr;
  } else {
    return static_cast<T>(~T{});
  }
}

}  // namespace detail

template <typename T, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset(other.release());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  T get() const noexcept { return handle_; }
  bool valid() const noexcept { return detail::IsValidHandle(handle_); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing.
  T release() noexcept { return std::exchange(handle_, detail::EmptyHandle<T>()); }

  void reset(T handle = detail::EmptyHandle<T>()) noexcept {
    const T old = std::exchange(handle_, handle);
    if (detail::IsValidHandle(old)) {
      const std::uint32_t error = detail::SaveLastError();
      Close(old);
      detail::RestoreLastError(error);
    }
  }

 private:
  T handle_ = detail::EmptyHandle<T>();
};

// HANDLE is void*; these need no <windows.h> to be named.
using UniqueFindHandle = UniqueHandle<void*, &detail::CloseFindHandle>;
using UniqueKernelHandle = UniqueHandle<void*, &detail::CloseKernelHandle>;

}  // namespace lumora::platform::win32
