// The session options between config.ini and the settings window's controls.
#pragma once

namespace lumora::settings {

// Reads every option into the process-wide ConnectionSettings and sets the controls from them; a
// value that matches none of a control's texts leaves that control as it was. Fills the drive
// list whatever drive mapping says.
void LoadSettingsIntoWindow();

// Completes the process-wide ConnectionSettings from the controls and writes all nineteen options
// in table order. False when config.ini could not be written.
bool SaveSettingsFromWindow();

}  // namespace lumora::settings
