// Reading the session options from config.ini into the settings window's controls.
#pragma once

namespace lumora::app {

// Reads every option into the process-wide ConnectionSettings and sets the controls from them; a
// value that matches none of a control's texts leaves that control as it was. Fills the drive
// list whatever drive mapping says.
void LoadSettingsIntoWindow();

}  // namespace lumora::app
