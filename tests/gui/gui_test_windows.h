// The windows the GUI tests load: one control of every kind, and a small dialog for modal and
// close tests. Their handlers write what they saw to an event log.
#pragma once

#include <string>
#include <vector>

#include "base/text.h"
#include "forms/window_definition.h"

namespace lumora::gui_tests {

// Every control kind; radio buttons in a group box that also holds a second group box with two
// more radio buttons.
const forms::WindowDefinition& EveryKindWindow();
// Fixed dialog without a close entry in its system menu and without a task-bar button.
const forms::WindowDefinition& SmallDialog();

// Registers both windows with their bindings.
void RegisterTestWindows();

// What the handlers saw, in order: "created", "destroyed", "button", "check", "radio1" to
// "radio4", "slider", "toolbar:<index>", "list-click", "list-double", "edit-down",
// "dialog-created".
std::vector<std::string>& EventLog();
// The text of the edit box, as the destroyed handler read it.
Text& TextReadWhileDestroying();
// While set, the check box's left-button handler returns 0 and the check box ignores the press.
bool& SwallowCheckBoxPress();
// When set, the click handler of 按钮1 throws.
bool& ThrowFromButton();

}  // namespace lumora::gui_tests
