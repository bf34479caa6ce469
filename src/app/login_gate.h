// The start window's handlers: the password row or the start button, and the hand-over to
// the main window.
#pragma once

#include "forms/events.h"

namespace lumora::app {

forms::HandlerResult LoginWindowCreated(forms::EventArgs args);
forms::HandlerResult LoginButtonClicked(forms::EventArgs args);
forms::HandlerResult StartButtonClicked(forms::EventArgs args);

}  // namespace lumora::app
