// Addressing the settings window's controls and its balloon tip.
#pragma once

#include <string_view>

#include "base/text.h"
#include "forms/window_model.h"

namespace lumora::app {

forms::Control SettingsControl(std::string_view name);

// Shows `text` in the settings window's balloon tip at the mouse cursor.
void ShowSettingsTip(const Text& text);

// Ticks or clears a check box, or selects or clears a radio button, by program: no event.
void SetSettingsCheck(std::string_view name, bool checked);

}  // namespace lumora::app
