// Writing the settings window's controls back to config.ini.
#pragma once

namespace lumora::app {

// Completes the process-wide ConnectionSettings from the controls and writes all nineteen options
// in table order. False when config.ini could not be written.
bool SaveSettingsFromWindow();

}  // namespace lumora::app
