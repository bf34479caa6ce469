// Events from the backend to the model: kind events and the common mouse events.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "forms/events.h"
#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Raises `event` of control `index` of `frame` (-1: the window itself). The frame may be gone
// when this returns; only the definition, which is static, is used.
HandlerResult RaiseControlEvent(const FrameState& frame, int index, int event, EventArgs args = {});

// A mouse message as the model sees it: event number and arguments.
struct MouseEvent {
  int event = 0;
  std::array<int, 3> args{};
  int argCount = 0;

  EventArgs Args() const { return EventArgs(args.data(), static_cast<std::size_t>(argCount)); }
};
std::optional<MouseEvent> TranslateMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);

// Raises the common mouse events of control `index` from the messages that reach its window;
// a handler's returned 0 keeps the control from processing the message.
bool AttachMouseEvents(HWND control, FrameState& frame, int index);

}  // namespace lumora::forms::win32
