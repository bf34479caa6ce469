// What the user sees of the program's real windows, read back the way a person would meet it:
// the message box of this process (read and answered from another thread, since the box runs
// its own modal loop) and the visible balloon tip.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace lumora::gui_tests {

struct SeenMessageBox {
  std::wstring title;
  std::wstring text;
  bool informationIcon = false;
  bool exclamationIcon = false;
  bool onlyAnOkButton = false;
  bool hasOwner = false;
};

// Waits on its own thread for a message box of this process, reads it and presses OK.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  bool Seen() const { return seen_; }
  // Valid once Seen() holds.
  const SeenMessageBox& Box() const { return box_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  SeenMessageBox box_;
  std::thread thread_;
};

// The visible balloon tip of this thread's windows, or nullptr.
HWND VisibleBalloon();
// The visible tooltip (one that is not a balloon) of this thread's windows, or nullptr.
HWND VisibleTooltip();

// The text of a visible balloon tip of this thread's windows; nothing when none is shown.
bool VisibleBalloonText(std::wstring& text);

POINT Centre(const RECT& rect);

// The centre of a list-view row's label, in the list's client coordinates.
POINT RowCentre(HWND list, int row);

}  // namespace lumora::gui_tests
