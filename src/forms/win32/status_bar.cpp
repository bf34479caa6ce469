#include "forms/win32/status_bar.h"

namespace lumora::forms::win32 {
namespace {

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

void SeatOn(HWND label, HWND bar) {
  const RECT onScreen = ScreenRect(label);
  POINT topLeft{onScreen.left, onScreen.top};
  ScreenToClient(bar, &topLeft);
  SetParent(label, bar);
  SetWindowPos(label, HWND_TOP, topLeft.x, topLeft.y, onScreen.right - onScreen.left,
               onScreen.bottom - onScreen.top, SWP_NOACTIVATE);
}

}  // namespace

void SeatLabelsOnStatusBars(FrameState& frame) {
  for (std::size_t bar = 0; bar < frame.controls.size(); ++bar) {
    HWND barWindow = frame.controls[bar].window;
    if (frame.Definition(static_cast<int>(bar)).kind != ControlKind::kStatusBar ||
        barWindow == nullptr) {
      continue;
    }
    const RECT barRect = ScreenRect(barWindow);
    for (std::size_t label = 0; label < frame.controls.size(); ++label) {
      HWND labelWindow = frame.controls[label].window;
      const ControlDefinition& definition = frame.Definition(static_cast<int>(label));
      if (definition.kind == ControlKind::kLabel && definition.container == nullptr &&
          labelWindow != nullptr && GetParent(labelWindow) == frame.window &&
          Contains(barRect, ScreenRect(labelWindow))) {
        SeatOn(labelWindow, barWindow);
      }
    }
  }
}

}  // namespace lumora::forms::win32
