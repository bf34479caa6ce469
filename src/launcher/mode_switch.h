// The forced-connection switch that follows the session file's path on the client's command line.
#pragma once

#include "base/text.h"

namespace lumora::launcher {

// The switch for the setting "强制模式": "0" gives " /admin ", "1" gives " /console ", "2" gives
// one blank; any other text, the empty one included, keeps `previous`.
Text NextModeSwitch(const Text& forcedMode, const Text& previous);

// The switch of the latest connection in this run (empty before the first); it carries over to a
// connection whose setting names no switch. The user-interface thread alone uses it.
Text& CurrentModeSwitch();

}  // namespace lumora::launcher
