// Building, showing and tearing down windows; message loops; talking to the user.
#include "forms/win32/win32_window_system.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

#include "forms/win32/balloon_tip.h"
#include "forms/win32/control_factory.h"
#include "forms/win32/frame_state.h"
#include "forms/win32/frame_window.h"
#include "forms/win32/gui_font.h"
#include "forms/win32/message_loop.h"
#include "forms/win32/popup_menu.h"
#include "forms/win32/status_bar.h"
#include "forms/win32/tip_anchor.h"
#include "forms/win32/ui_thread.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/work_queue.h"
#include "platform/echo_probe.h"

namespace lumora::forms {

using win32::FrameState;

namespace {

// Controls that place themselves along an edge of their parent keep that place.
bool LaysItselfOut(const ControlDefinition& control) {
  return control.kind == ControlKind::kStatusBar ||
         (control.kind == ControlKind::kToolbar && control.properties.dockTop);
}

int ShowCommand(const WindowDefinition& window) {
  switch (window.start) {
    case StartPosition::kMinimized:
      return SW_SHOWMINIMIZED;
    case StartPosition::kMaximized:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOW;
  }
}

// The windows behind a modal one are still disabled when it goes, so the system activates none of
// them; the one that was active before gets the activation back once the model has enabled them.
void ReactivateWhenEnabled(const win32::BackendState& state, HWND window) {
  if (window == nullptr || !state.workQueue) {
    return;
  }
  win32::PostWork(state.workQueue.get(), [window] {
    if (IsWindow(window) && IsWindowEnabled(window) && IsWindowVisible(window)) {
      SetForegroundWindow(window);
    }
  });
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() : state_(std::make_unique<win32::BackendState>()) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_WIN95_CLASSES;
  state_->commonControls = InitCommonControlsEx(&classes) != FALSE;
  state_->uiThread = GetCurrentThreadId();
  state_->font = win32::CreateGuiFont();
  state_->workQueue = win32::CreateWorkQueue();
}

Win32WindowSystem::~Win32WindowSystem() {
  state_->shuttingDown = true;
  std::vector<HWND> windows;
  for (const auto& [definition, frame] : state_->frames) {
    windows.push_back(frame->window);
  }
  for (HWND window : windows) {
    DestroyWindow(window);
  }
  state_->frames.clear();
  if (state_->workQueue) {
    win32::DropPendingWork(state_->workQueue.get());
  }
}

void* Win32WindowSystem::FrameHandle(const WindowDefinition& window) const {
  return win32::OnUiThread(*state_, [&]() -> void* {
    const FrameState* frame = state_->Find(window);
    return frame == nullptr ? nullptr : frame->window;
  });
}

void* Win32WindowSystem::ControlHandle(const WindowDefinition& window, int index) const {
  return win32::ReadControl<void*>(
      *state_, window, index, nullptr,
      [](FrameState&, win32::ControlState& control) -> void* { return control.window; });
}

// --- building and tearing down ---

bool Win32WindowSystem::CreateFrame(const WindowDefinition& window, bool ownedByHiddenOwner,
                                    bool modal) {
  if (!state_->commonControls) {
    return false;
  }
  if (state_->Find(window) != nullptr) {
    DestroyNow(window);
  }
  HWND owner = nullptr;
  if (ownedByHiddenOwner) {
    if (!state_->hiddenOwner) {
      state_->hiddenOwner.reset(CreateWindowExW(WS_EX_TOOLWINDOW, WC_STATICW, L"", WS_POPUP, 0, 0,
                                                0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                                                nullptr));
    }
    owner = state_->hiddenOwner.get();
  }
  auto frame = std::make_unique<FrameState>();
  frame->backend = state_.get();
  frame->definition = &window;
  frame->modal = modal;
  frame->activeBefore = GetActiveWindow();
  FrameState& created = *frame;
  state_->frames[&window] = std::move(frame);
  if (!win32::CreateFrameWindow(created, owner, state_->font.get())) {
    state_->frames.erase(&window);
    return false;
  }
  return true;
}

bool Win32WindowSystem::CreateControl(const WindowDefinition& window, int index) {
  FrameState* frame = state_->Find(window);
  return frame != nullptr && win32::CreateControlWindow(*frame, index, state_->font.get());
}

void Win32WindowSystem::MoveIntoContainer(const WindowDefinition& window, int index,
                                          int containerIndex) {
  const win32::ControlState* control = state_->Control(window, index);
  const win32::ControlState* container = state_->Control(window, containerIndex);
  if (control == nullptr || container == nullptr || control->window == nullptr ||
      container->window == nullptr) {
    return;
  }
  SetParent(control->window, container->window);
  const ControlDefinition& definition = window.controls[index];
  if (!LaysItselfOut(definition)) {
    const Rect& rect = definition.rect;
    SetWindowPos(control->window, nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32WindowSystem::OrderControls(const WindowDefinition& window) {
  FrameState* frame = state_->Find(window);
  if (frame == nullptr) {
    return;
  }
  // Each control goes to the bottom of its own parent's list in turn, so every container ends up
  // in this order, which the dialog manager also takes as the tab order: the controls with a tab
  // index by that index, then the rest in definition order.
  std::vector<int> order(frame->controls.size());
  std::iota(order.begin(), order.end(), 0);
  const auto key = [&](int index) {
    const int tabIndex = window.controls[index].tabIndex;
    return tabIndex >= 0 ? std::pair{0, tabIndex} : std::pair{1, index};
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  for (const int index : order) {
    if (HWND control = frame->controls[index].window) {
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
  }
  win32::SeatLabelsOnStatusBars(*frame);
}

void Win32WindowSystem::ShowFrame(const WindowDefinition& window) {
  if (const FrameState* frame = state_->Find(window)) {
    ShowWindow(frame->window, ShowCommand(window));
    UpdateWindow(frame->window);
  }
}

void Win32WindowSystem::ActivateOrRestore(const WindowDefinition& window) {
  const FrameState* frame = state_->Find(window);
  if (frame == nullptr) {
    return;
  }
  if (IsIconic(frame->window)) {
    ShowWindow(frame->window, SW_RESTORE);
  }
  SetForegroundWindow(frame->window);
}

void Win32WindowSystem::SetFrameEnabled(const WindowDefinition& window, bool enabled) {
  win32::OnUiThread(*state_, [&] {
    if (const FrameState* frame = state_->Find(window)) {
      EnableWindow(frame->window, enabled ? TRUE : FALSE);
    }
  });
}

bool Win32WindowSystem::IsFrameEnabled(const WindowDefinition& window) const {
  return win32::OnUiThread(*state_, [&] {
    const FrameState* frame = state_->Find(window);
    return frame != nullptr && IsWindowEnabled(frame->window) != FALSE;
  });
}

Text Win32WindowSystem::FrameTitle(const WindowDefinition& window) const {
  return win32::OnUiThread(*state_, [&] {
    const FrameState* frame = state_->Find(window);
    if (frame == nullptr) {
      return Text();
    }
    const int length = GetWindowTextLengthW(frame->window);
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(frame->window, title.data(), length + 1);
    title.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return win32::FromWide(title);
  });
}

void Win32WindowSystem::SetFrameTitle(const WindowDefinition& window, const Text& title) {
  win32::OnUiThread(*state_, [&] {
    if (const FrameState* frame = state_->Find(window)) {
      SetWindowTextW(frame->window, win32::ToWide(title).c_str());
    }
  });
}

Rect Win32WindowSystem::FrameRect(const WindowDefinition& window) const {
  return win32::OnUiThread(*state_, [&] {
    const FrameState* frame = state_->Find(window);
    RECT outer{};
    if (frame == nullptr || !GetWindowRect(frame->window, &outer)) {
      return Rect();
    }
    return Rect{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
  });
}

void Win32WindowSystem::MoveFrame(const WindowDefinition& window, Point topLeft) {
  win32::OnUiThread(*state_, [&] {
    if (const FrameState* frame = state_->Find(window)) {
      SetWindowPos(frame->window, nullptr, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  });
}

void Win32WindowSystem::PostClose(const WindowDefinition& window) {
  HWND target = win32::OnUiThread(*state_, [&]() -> HWND {
    const FrameState* frame = state_->Find(window);
    return frame == nullptr ? nullptr : frame->window;
  });
  // Should the close not be posted, it comes through the work queue instead: a window the model
  // closes must go.
  if (target != nullptr && !PostMessageW(target, win32::kMsgPostedClose, 0, 0)) {
    win32::PostWork(state_->workQueue.get(),
                    [target] { SendMessageW(target, win32::kMsgPostedClose, 0, 0); });
  }
}

void Win32WindowSystem::DestroyNow(const WindowDefinition& window) {
  win32::OnUiThread(*state_, [&] {
    if (const FrameState* frame = state_->Find(window)) {
      DestroyWindow(frame->window);
    }
  });
}

// --- message loops ---

int Win32WindowSystem::RunMessageLoop() {
  int exitCode = 0;
  while (win32::PumpOneMessage(*state_, &exitCode)) {
  }
  return exitCode;
}

void Win32WindowSystem::QuitMessageLoop(int exitCode) {
  // The quit message belongs in the queue of the thread that runs the loop.
  win32::OnUiThread(*state_, [exitCode] { PostQuitMessage(exitCode); });
}

void Win32WindowSystem::RunModalLoop(const WindowDefinition& window) {
  const FrameState* frame = state_->Find(window);
  if (frame == nullptr) {
    return;
  }
  HWND modal = frame->window;
  HWND activeBefore = frame->activeBefore;
  while (state_->FindByWindow(modal) != nullptr) {
    int exitCode = 0;
    if (!win32::PumpOneMessage(*state_, &exitCode)) {
      // The outer loop must see the quit request too.
      if (exitCode != -1) {
        PostQuitMessage(exitCode);
      }
      break;
    }
  }
  ReactivateWhenEnabled(*state_, activeBefore);
}

void Win32WindowSystem::ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    win32::DispatchUiMessage(*state_, message);
  }
}

void Win32WindowSystem::PostToUiThread(std::function<void()> work) {
  win32::PostWork(state_->workQueue.get(), std::move(work));
}

void Win32WindowSystem::EndProgram(int exitCode) {
  // Echo requests of reachability workers are let come back first (at most one probe's time).
  platform::StopEchoes(platform::kProbeTimeoutMs + 500);
  ExitProcess(static_cast<UINT>(exitCode));
}

// --- talking to the user ---

int Win32WindowSystem::AskUser(const Text& text, const Text& title, unsigned style) {
  if ((style & MB_SYSTEMMODAL) == 0) {
    style |= MB_TASKMODAL;
  }
  const std::wstring wideText = win32::ToWide(text);
  const std::wstring wideTitle = win32::ToWide(title);
  // The box has no owner: once it is gone, the window that was active gets its activation and its
  // focus back, so that the keyboard goes on where the user left it.
  HWND active = GetActiveWindow();
  HWND focus = GetFocus();
  const int answer = MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(), style);
  if (active != nullptr && IsWindow(active) && IsWindowEnabled(active)) {
    SetActiveWindow(active);
    if (focus != nullptr && IsWindow(focus) && IsChild(active, focus)) {
      SetFocus(focus);
    }
  }
  return answer;
}

void Win32WindowSystem::ShowBalloon(const WindowDefinition& window, int tipIndex, const Text& text,
                                    Point screenPosition) {
  win32::OnUiThread(*state_, [&] {
    FrameState* frame = state_->Find(window);
    if (frame != nullptr && tipIndex >= 0 && tipIndex < static_cast<int>(frame->controls.size())) {
      win32::ShowBalloonTip(*frame, tipIndex, text, screenPosition);
    }
  });
}

int Win32WindowSystem::ChooseFromMenu(const WindowDefinition& window, int index,
                                      std::span<const Text> items, Point screenPosition) {
  return win32::ReadControl(
      *state_, window, index, -1, [&](FrameState& frame, win32::ControlState& control) {
        return win32::ChoosePopupMenuItem(frame.window, control.window, items, screenPosition);
      });
}

void Win32WindowSystem::HideBalloon(const WindowDefinition& window, int tipIndex,
                                    const Text& text) {
  win32::OnUiThread(*state_, [&] {
    FrameState* frame = state_->Find(window);
    if (frame != nullptr && tipIndex >= 0 && tipIndex < static_cast<int>(frame->controls.size()) &&
        win32::BalloonText(*frame, tipIndex) == text) {
      win32::HideBalloonTip(*frame, tipIndex);
    }
  });
}

Point Win32WindowSystem::TipPosition(const WindowDefinition& window) const {
  return win32::OnUiThread(*state_, [&] {
    const FrameState* frame = state_->Find(window);
    return frame != nullptr ? win32::TipAnchor(*frame, state_->lastInputFromKeyboard)
                            : win32::TipAnchor();
  });
}

}  // namespace lumora::forms
