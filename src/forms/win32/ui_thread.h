// Carrying a state call made on another thread over to the user-interface thread. The caller
// waits until that thread processes messages, so a worker must not be joined by the user-interface
// thread while the worker makes such a call.
#pragma once

#include <windows.h>

#include <type_traits>

#include "forms/win32/frame_state.h"
#include "forms/win32/work_queue.h"

namespace lumora::forms::win32 {

// Runs `work` on the user-interface thread and returns its result: at once on that thread,
// otherwise through the work queue while the caller waits.
template <typename Work>
auto OnUiThread(const BackendState& state, Work&& work) -> decltype(work()) {
  using Result = decltype(work());
  if (GetCurrentThreadId() == state.uiThread || !state.workQueue) {
    return work();
  }
  if constexpr (std::is_void_v<Result>) {
    RunAndWait(state.workQueue.get(), [&] { work(); });
  } else {
    Result result{};
    RunAndWait(state.workQueue.get(), [&] { result = work(); });
    return result;
  }
}

// Reads from control `index` of `window` on the user-interface thread: `work(frame, control)`
// runs when the window is loaded and the control has a window of its own, else `fallback`.
template <typename Result, typename Work>
Result ReadControl(const BackendState& state, const WindowDefinition& window, int index,
                   Result fallback, Work&& work) {
  return OnUiThread(state, [&]() -> Result {
    FrameState* frame = state.Find(window);
    if (frame == nullptr || index < 0 || index >= static_cast<int>(frame->controls.size()) ||
        frame->controls[index].window == nullptr) {
      return fallback;
    }
    return work(*frame, frame->controls[index]);
  });
}

// Changes control `index` of `window` on the user-interface thread, as ReadControl.
template <typename Work>
void ChangeControl(const BackendState& state, const WindowDefinition& window, int index,
                   Work&& work) {
  OnUiThread(state, [&] {
    FrameState* frame = state.Find(window);
    if (frame == nullptr || index < 0 || index >= static_cast<int>(frame->controls.size()) ||
        frame->controls[index].window == nullptr) {
      return;
    }
    work(*frame, frame->controls[index]);
  });
}

}  // namespace lumora::forms::win32
