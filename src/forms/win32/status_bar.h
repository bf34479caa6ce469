// Status bars and the labels that lie on them.
#pragma once

#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

// Makes each label that lies wholly on a status bar of `frame` a child of that bar, in the same
// place on the screen. A sibling label over the bar would be painted in the window's colour,
// a box of another colour on the grey bar, and the bar, drawn after it, would cover it; as the
// bar's child it is drawn on the bar, in the bar's colours.
void SeatLabelsOnStatusBars(FrameState& frame);

}  // namespace lumora::forms::win32
