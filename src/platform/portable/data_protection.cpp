#include "platform/data_protection.h"

namespace lumora::platform {

Bytes ProtectForCurrentUser(std::span<const std::uint8_t>, std::u16string_view) {
  return {};
}

}  // namespace lumora::platform
