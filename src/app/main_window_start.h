// The main window's created handler: the data-file check, then the window's start.
#pragma once

#include "forms/events.h"

namespace lumora::app {

forms::HandlerResult MainWindowCreated(forms::EventArgs args);

}  // namespace lumora::app
