// The host editor: one server's address, port, user, password and remark, added or modified.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& HostEditorWindow();

}  // namespace lumora::forms
