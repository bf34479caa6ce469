#include "command.h"

namespace lumora::ctl {

std::span<const Command> SessionCommands() {
  return {};
}

}  // namespace lumora::ctl
