// The host editor window's handlers and the process-wide values the commands hand it: the
// editor mode and the server prepared for a modification.
#pragma once

#include "base/text.h"
#include "catalogue/server_store.h"
#include "forms/events.h"

namespace lumora::catalogue {

// "添加主机" or "修改主机"; kept until the next command sets it.
Text& EditorMode();
// The current row's server, filled by the modify command; its domain is written back on save.
catalogue::ServerRecord& PreparedServer();

// Created: centres the editor over the main window and fills its fields for the mode.
forms::HandlerResult HostEditorCreated(forms::EventArgs args);
// "按钮_编辑" clicked: checks and stores the server.
forms::HandlerResult SaveButtonClicked(forms::EventArgs args);

}  // namespace lumora::catalogue
