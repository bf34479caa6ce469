// The settings window as the main window opens it.
#pragma once

namespace lumora::settings {

void RegisterSettingsWindow();

// Toolbar button 7: loads the settings window modally; returns when it is closed.
void OpenSettingsWindow();

}  // namespace lumora::settings
