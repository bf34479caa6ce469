// The main window's commands: its toolbar buttons and the server list's events.
#pragma once

#include "forms/events.h"

namespace lumora::app {

forms::HandlerResult ToolbarButtonClicked(forms::EventArgs args);
// A left click on the list: the record set moves to the current row's server.
forms::HandlerResult ServerListClicked(forms::EventArgs args);
forms::HandlerResult ServerListDoubleClicked(forms::EventArgs args);
forms::HandlerResult ServerListHeaderClicked(forms::EventArgs args);
// The toolbar's keys on the list: Enter connects to the current row, as a double-click does;
// Insert or Ctrl+N adds, F2 modifies, Delete deletes the ticked rows, F5 probes every row again.
forms::HandlerResult ServerListKeyDown(forms::EventArgs args);
// The right button or the menu key on the list: the toolbar's commands as a menu, each with its
// access key and its key on the list, so that the keyboard reaches every one of them.
forms::HandlerResult ServerListContextMenu(forms::EventArgs args);

}  // namespace lumora::app
