#include "forms/win32/message_loop.h"

#include "forms/win32/balloon_tip.h"

namespace lumora::forms::win32 {
namespace {

bool IsButtonPress(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

bool IsKeyPress(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

}  // namespace

void DispatchUiMessage(BackendState& state, MSG& message) {
  if (IsButtonPress(message.message)) {
    HideAllBalloonTips(state);
    state.lastInputFromKeyboard = false;
  } else if (IsKeyPress(message.message)) {
    state.lastInputFromKeyboard = true;
  }
  if (message.hwnd != nullptr) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root != nullptr && state.FindByWindow(root) != nullptr &&
        IsDialogMessageW(root, &message)) {
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

bool PumpOneMessage(BackendState& state, int* quitCode) {
  MSG message{};
  const BOOL result = GetMessageW(&message, nullptr, 0, 0);
  if (result == 0) {
    *quitCode = static_cast<int>(message.wParam);
    return false;
  }
  if (result == -1) {
    *quitCode = -1;
    return false;
  }
  DispatchUiMessage(state, message);
  return true;
}

}  // namespace lumora::forms::win32
