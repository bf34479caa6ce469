// The system's data-protection service: data that only the current Windows user can read back.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/text.h"

namespace lumora::platform {

// Protects `data` for the current user with `description` stored beside it: no extra entropy, no
// prompt, no machine-wide scope. Gives the protected bytes, which differ from call to call, or
// nothing when the service fails. The native build has no such service and always gives nothing.
Bytes ProtectForCurrentUser(std::span<const std::uint8_t> data, std::u16string_view description);

}  // namespace lumora::platform
