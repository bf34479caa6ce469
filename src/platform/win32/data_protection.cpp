#include "platform/data_protection.h"

#include <windows.h>

#include <wincrypt.h>

#include <string>

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

void FreeLocal(void* memory) noexcept {
  ::LocalFree(memory);
}

// The service allocates its output with LocalAlloc; the caller frees it.
using UniqueHLocal = win32::UniqueHandle<void*, &FreeLocal>;

}  // namespace

Bytes ProtectForCurrentUser(std::span<const std::uint8_t> data, std::u16string_view description) {
  // The service takes non-const pointers and a terminated description.
  Bytes input(data.begin(), data.end());
  const std::wstring name(description.begin(), description.end());
  DATA_BLOB in{static_cast<DWORD>(input.size()), input.data()};
  DATA_BLOB out{};
  static const auto protect =
      win32::SystemFunction<decltype(&::CryptProtectData)>(L"crypt32.dll", "CryptProtectData");
  if (protect == nullptr || !protect(&in, name.c_str(), nullptr, nullptr, nullptr, 0, &out)) {
    return {};
  }
  const UniqueHLocal owner(out.pbData);
  if (out.pbData == nullptr) {
    return {};
  }
  return Bytes(out.pbData, out.pbData + out.cbData);
}

}  // namespace lumora::platform
