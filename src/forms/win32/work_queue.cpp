#include "forms/win32/work_queue.h"

#include <memory>

#include "forms/win32/exception_barrier.h"

namespace lumora::forms::win32 {
namespace {

constexpr wchar_t kWorkQueueClass[] = L"LumoraWorkQueue";
constexpr UINT kMsgPostedWork = WM_APP + 1;
constexpr UINT kMsgRunNow = WM_APP + 2;

using Work = std::function<void()>;

LRESULT WorkQueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgPostedWork: {
      const std::unique_ptr<Work> work(reinterpret_cast<Work*>(lParam));
      if (work && *work) {
        (*work)();
      }
      return 0;
    }
    case kMsgRunNow: {
      const auto* work = reinterpret_cast<const Work*>(lParam);
      if (work != nullptr && *work) {
        (*work)();
      }
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK WorkQueueProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded([&] { return WorkQueueMessage(window, message, wParam, lParam); });
}

bool RegisterWorkQueueClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WorkQueueProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWorkQueueClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

UniqueWindow CreateWorkQueue() {
  if (!RegisterWorkQueueClass()) {
    return {};
  }
  return UniqueWindow(CreateWindowExW(0, kWorkQueueClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
}

void PostWork(HWND queue, std::function<void()> work) {
  auto owned = std::make_unique<Work>(std::move(work));
  // A thread's message queue holds a bounded number of posted messages (10,000 by default); a
  // reachability pass over more rows can fill it. The work waits for room rather than being lost,
  // as long as the queue's window lives.
  while (!PostMessageW(queue, kMsgPostedWork, 0, reinterpret_cast<LPARAM>(owned.get()))) {
    if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || !IsWindow(queue) ||
        GetWindowThreadProcessId(queue, nullptr) == GetCurrentThreadId()) {
      return;
    }
    Sleep(1);
  }
  static_cast<void>(owned.release());
}

void RunAndWait(HWND queue, const std::function<void()>& work) {
  if (GetWindowThreadProcessId(queue, nullptr) == GetCurrentThreadId()) {
    work();
    return;
  }
  SendMessageW(queue, kMsgRunNow, 0, reinterpret_cast<LPARAM>(&work));
}

void DropPendingWork(HWND queue) {
  MSG message{};
  while (PeekMessageW(&message, queue, kMsgPostedWork, kMsgPostedWork, PM_REMOVE)) {
    delete reinterpret_cast<Work*>(message.lParam);
  }
}

}  // namespace lumora::forms::win32
