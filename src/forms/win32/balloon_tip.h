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
// The text of the balloon of control `index` while it is shown, else empty.
Text BalloonText(const FrameState& frame, int index);
// Hides every balloon of `frame`.
void HideBalloonsOf(FrameState& frame);
// Hides every balloon shown by any frame (the user clicked somewhere).
void HideAllBalloonTips(const BackendState& backend);
// A balloon belongs to a window the user can use: when its frame is disabled (a modal window
// over it), hidden or destroyed, the frame's balloons and its toolbars' tooltips go.
void HideFrameTips(FrameState& frame);
// Whether a balloon of `frame` is up, during which its toolbars show no tooltip over it.
bool ShowsBalloon(const FrameState& frame);

}  // namespace lumora::forms::win32
