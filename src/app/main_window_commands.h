// The main window's commands: its toolbar buttons and the server list's events.
#pragma once

#include "forms/events.h"

namespace lumora::app {

forms::HandlerResult ToolbarButtonClicked(forms::EventArgs args);
// A left click on the list: the record set moves to the current row's server.
forms::HandlerResult ServerListClicked(forms::EventArgs args);
forms::HandlerResult ServerListDoubleClicked(forms::EventArgs args);
// Enter on a row connects to it, as a double-click does; Delete deletes the ticked rows.
forms::HandlerResult ServerListKeyDown(forms::EventArgs args);
// The right button or the menu key on the list: the toolbar's commands as a menu, so that the
// keyboard reaches every one of them.
forms::HandlerResult ServerListContextMenu(forms::EventArgs args);

}  // namespace lumora::app
