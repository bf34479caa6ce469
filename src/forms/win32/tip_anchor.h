// Where a balloon points: at the mouse pointer for a click, at the focused control for a key.
#pragma once

#include "forms/win32/frame_state.h"
#include "forms/window_system.h"

namespace lumora::forms::win32 {

// The point a balloon of `frame` about the user's last action points at (see
// WindowSystem::TipPosition).
Point TipAnchor(const FrameState& frame, bool fromKeyboard);

// The mouse pointer, for a balloon of no window.
Point TipAnchor();

}  // namespace lumora::forms::win32
