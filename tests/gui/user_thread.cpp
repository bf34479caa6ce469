#include "user_thread.h"

namespace lumora::gui_tests {
namespace {

BOOL CALLBACK NoteMessageBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      std::wstring(className) == L"#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The box's text control, as both Windows and Wine number it.
constexpr int kBoxTextId = 0xFFFF;

}  // namespace

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

namespace {

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

}  // namespace

HWND FocusOnThreadOf(HWND window) {
  return ThreadInfoOf(window).hwndFocus;
}

HWND ActiveOnThreadOf(HWND window) {
  return ThreadInfoOf(window).hwndActive;
}

void PressKey(HWND window, UINT key) {
  HWND target = FocusOnThreadOf(window);
  if (target == nullptr) {
    target = window;
  }
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

HWND ShownMessageBox() {
  HWND box = nullptr;
  EnumWindows(NoteMessageBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

AnsweredBox AnswerMessageBox(int button, const std::function<void(HWND box)>& look) {
  AnsweredBox answered;
  HWND box = nullptr;
  // The box is shown once its text is in place.
  if (!WaitUntil([&] {
        box = ShownMessageBox();
        return box != nullptr && GetWindowTextLengthW(GetDlgItem(box, kBoxTextId)) > 0;
      })) {
    return answered;
  }
  if (look) {
    look(box);
  }
  answered.seen = true;
  answered.title = WindowText(box);
  answered.text = WindowText(GetDlgItem(box, kBoxTextId));
  answered.yesAndNo = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr;
  PostMessageW(box, WM_COMMAND, button, 0);
  WaitUntil([] { return ShownMessageBox() == nullptr; });
  return answered;
}

UserThread::UserThread(std::function<void()> script)
    : thread_([this, script = std::move(script)] {
        script();
        done_ = true;
      }) {}

UserThread::~UserThread() {
  Finish();
}

void UserThread::Finish() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

}  // namespace lumora::gui_tests
