#include "platform/thread.h"

#include <system_error>
#include <thread>
#include <utility>

namespace lumora::platform {

bool StartDetachedThread(std::function<void()> body) {
  try {
    std::thread(std::move(body)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace lumora::platform
