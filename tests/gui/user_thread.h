// The person at the keyboard in GUI tests. Modal windows and message boxes run their own loops
// on the user-interface thread, so the person acts from a thread of their own meanwhile, watching
// the screen and waiting until what they expect is there.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace lumora::gui_tests {

// Polls `done` until it holds or about a minute has passed; returns whether it held. The bound
// is generous on purpose: a window or box that came after the user had given up would hold the
// user-interface thread in its modal loop for good, and a loaded machine can be slow.
template <typename Done>
bool WaitUntil(Done done) {
  for (int round = 0; round < 6000; ++round) {
    if (done()) {
      return true;
    }
    Sleep(10);
  }
  return done();
}

std::wstring WindowText(HWND window);

// The window that has the keyboard focus, and the active window, on `window`'s thread; callable
// from any thread.
HWND FocusOnThreadOf(HWND window);
HWND ActiveOnThreadOf(HWND window);

// Presses and releases `key` where the focus is on `window`'s thread, as the keyboard does: the
// keys go through that thread's message loop (and so through the dialog manager).
void PressKey(HWND window, UINT key);

// A visible message box of this process, or null.
HWND ShownMessageBox();

struct AnsweredBox {
  bool seen = false;
  std::wstring title;
  std::wstring text;
  bool yesAndNo = false;
};

// Waits for a message box of this process, lets `look` see it, reads it and presses `button`;
// returns once the box is gone.
AnsweredBox AnswerMessageBox(int button, const std::function<void(HWND box)>& look = {});

// Runs `script` on a thread of its own; joined before the test reads what it saw.
class UserThread {
 public:
  explicit UserThread(std::function<void()> script);
  ~UserThread();
  UserThread(const UserThread&) = delete;
  UserThread& operator=(const UserThread&) = delete;

  bool Done() const { return done_; }
  void Finish();

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace lumora::gui_tests
