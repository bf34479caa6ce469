// The host editor: adding, modifying and deleting servers from the main window.
#pragma once

#include <functional>

namespace lumora::catalogue {

// The main window sets how its server list is rebuilt from the catalogue; the editor calls it
// after every change it makes.
void SetServerListRefill(std::function<void()> refill);

void RegisterHostEditorWindow();

// Toolbar buttons 1, 2 and 3.
void AddServerCommand();
void ModifyServerCommand();
void DeleteServersCommand();

}  // namespace lumora::catalogue
