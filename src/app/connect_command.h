// Connecting to the current server and clearing the session-file history.
#pragma once

namespace lumora::app {

// Toolbar button 0 and a double-click on the list.
void ConnectCommand();

// Toolbar button 8.
void ClearHistoryCommand();

}  // namespace lumora::app
