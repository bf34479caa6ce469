// The main window's commands: its toolbar buttons and the server list's events.
#pragma once

#include "forms/events.h"

namespace lumora::app {

forms::HandlerResult ToolbarButtonClicked(forms::EventArgs args);
forms::HandlerResult ServerListDoubleClicked(forms::EventArgs args);

// Toolbar button 0 and a double-click on the list.
void ConnectCommand();

}  // namespace lumora::app
