// A thread that runs `body` on its own and is never waited for.
#pragma once

#include <functional>

namespace lumora::platform {

// Starts `body` on a new thread that nobody joins; false when no thread could be made (then
// `body` never runs).
bool StartDetachedThread(std::function<void()> body);

}  // namespace lumora::platform
