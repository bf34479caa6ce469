// The modal window of the session options and the start-up password.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& SettingsWindow();

// The size slider runs from 0 to 60 in steps of 10; its maximum stands for a full-screen session.
inline constexpr int kSizeSliderMaximum = 60;
// The colour slider runs from 0 to 40 in steps of 10 and starts at 40.
inline constexpr int kColourSliderMaximum = 40;

}  // namespace lumora::forms
