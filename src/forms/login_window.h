// The start window: the start-up password row or the start button, under the logo.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& LoginWindow();

}  // namespace lumora::forms
