// The host editor window's handlers; what the commands hand them is in host_editor_state.h.
#pragma once

#include "forms/events.h"

namespace lumora::catalogue {

// Created: centres the editor over the main window and fills its fields for the mode.
forms::HandlerResult HostEditorCreated(forms::EventArgs args);
// "按钮_编辑" clicked: checks and stores the server.
forms::HandlerResult SaveButtonClicked(forms::EventArgs args);

}  // namespace lumora::catalogue
