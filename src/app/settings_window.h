// The settings window's event handlers (the start-up password row's are in
// startup_password_setting_events.h).
#pragma once

#include "forms/events.h"

namespace lumora::app {

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

}  // namespace lumora::app
