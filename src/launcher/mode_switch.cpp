#include "launcher/mode_switch.h"

namespace lumora::launcher {

Text NextModeSwitch(const Text& forcedMode, const Text& previous) {
  if (forcedMode == "0") {
    return " /admin ";
  }
  if (forcedMode == "1") {
    return " /console ";
  }
  if (forcedMode == "2") {
    return " ";
  }
  return previous;
}

Text& CurrentModeSwitch() {
  static Text modeSwitch;
  return modeSwitch;
}

}  // namespace lumora::launcher
