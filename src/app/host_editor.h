// The host editor: adding, modifying and deleting servers from the main window.
#pragma once

namespace lumora::app {

void RegisterHostEditorWindow();

// Toolbar buttons 1, 2 and 3.
void AddServerCommand();
void ModifyServerCommand();
void DeleteServersCommand();

}  // namespace lumora::app
