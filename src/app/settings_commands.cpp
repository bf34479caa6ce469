#include "app/settings_commands.h"

namespace lumora::app {

void RegisterSettingsWindow() {}
void OpenSettingsWindow() {}

}  // namespace lumora::app
