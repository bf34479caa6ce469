// The settings window: its event handlers (the start-up password row's are in
// startup_password_setting_events.h) and the helpers its files share.
#pragma once

#include <string_view>

#include "base/text.h"
#include "forms/events.h"
#include "forms/window_model.h"

namespace lumora::settings {

// Centres the window over the main window, loads the stored options and shows whether a
// start-up password is set.
forms::HandlerResult SettingsWindowCreated(forms::EventArgs args);
// Saves every option; closing the window is the only way to keep changes.
forms::HandlerResult SettingsWindowDestroyed(forms::EventArgs args);

// A check box or radio button of the plain options: the balloon of its new state.
forms::HandlerResult OptionCheckBoxClicked(forms::EventArgs args);
forms::HandlerResult OptionRadioClicked(forms::EventArgs args);

// Drive mapping and smart cards are ticked and cleared together.
forms::HandlerResult DriveMappingClicked(forms::EventArgs args);
forms::HandlerResult SmartCardClicked(forms::EventArgs args);

forms::HandlerResult WindowedModeClicked(forms::EventArgs args);
forms::HandlerResult FullScreenModeClicked(forms::EventArgs args);
forms::HandlerResult SizeSliderMoved(forms::EventArgs args);
forms::HandlerResult ColourSliderMoved(forms::EventArgs args);

forms::Control SettingsControl(std::string_view name);

// Shows `text` in the settings window's balloon tip at the mouse cursor.
void ShowSettingsTip(const Text& text);

// Ticks or clears a check box, or selects or clears a radio button, by program: no event.
void SetSettingsCheck(std::string_view name, bool checked);

}  // namespace lumora::settings
