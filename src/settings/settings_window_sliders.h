// The size and colour sliders of the settings window, their labels and the window-mode radios.
#pragma once

#include "base/text.h"

namespace lumora::settings {

// Moves the size slider to the position of `size` ("1024×768"); false, and the slider stays,
// when the size is not one the slider offers.
bool MoveSizeSliderTo(const Text& size);
// Moves the colour slider to the position of `depth` ("16"); false when it offers no such depth.
bool MoveColourSliderTo(const Text& depth);

// The size label and "窗口数据" follow the slider's position, and the radio pair follows whether
// the slider is at its maximum (a full-screen session).
void SizeSliderChanged();
// The colour label and "监视器颜色" follow the slider's position.
void ColourSliderChanged();

// The user chose a windowed session: the slider goes back to the stored size.
void WindowedModeSelected();
// The user chose a full-screen session: the slider goes to its maximum.
void FullScreenModeSelected();

}  // namespace lumora::settings
