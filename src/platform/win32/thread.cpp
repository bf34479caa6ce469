#include "platform/thread.h"

#include <windows.h>

#include <memory>
#include <new>
#include <utility>

#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

DWORD WINAPI RunBody(void* parameter) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

// The system's own threads, not std::thread: with the mingw-w64 thread library, detached threads
// started from detached threads now and then never run their body (under Wine about one in five
// thousand), and whoever counts on that thread, a reachability pass, then waits for ever.
bool StartDetachedThread(std::function<void()> body) {
  auto* owned = new (std::nothrow) std::function<void()>(std::move(body));
  if (owned == nullptr) {
    return false;
  }
  const win32::UniqueKernelHandle thread(CreateThread(nullptr, 0, RunBody, owned, 0, nullptr));
  if (!thread) {
    delete owned;
    return false;
  }
  return true;
}

}  // namespace lumora::platform
