// The start-up password row of the settings window.
#pragma once

#include "forms/events.h"

namespace lumora::settings {

// Ticks "需要密码启动" when a password is set; the row itself stays as it is.
void ShowStartupPasswordState();

// Ticked: shows the row with both fields emptied. Cleared: hides it and turns the password off.
forms::HandlerResult StartupPasswordBoxClicked(forms::EventArgs args);
// Checks the two fields and stores the password.
forms::HandlerResult StorePasswordClicked(forms::EventArgs args);

}  // namespace lumora::settings
