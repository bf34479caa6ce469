// Balloon tips: a tracking tooltip shown at a screen point for a few seconds.
#pragma once

#include <windows.h>

#include "base/text.h"
#include "forms/win32/frame_state.h"
#include "forms/window_system.h"

namespace lumora::forms::win32 {

// Timer ids of a frame at and above this one hide the balloon of control (id - base).
inline constexpr UINT_PTR kFirstBalloonTimer = 0x4C00;

void ShowBalloonTip(FrameState& frame, int index, const Text& text, Point screenPosition);
void HideBalloonTip(FrameState& frame, int index);
// Hides every balloon shown by any frame (the user clicked somewhere).
void HideAllBalloonTips(const BackendState& backend);

}  // namespace lumora::forms::win32
