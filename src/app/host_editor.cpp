#include "app/host_editor.h"

namespace lumora::app {

void RegisterHostEditorWindow() {}
void AddServerCommand() {}
void ModifyServerCommand() {}
void DeleteServersCommand() {}

}  // namespace lumora::app
