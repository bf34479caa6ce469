#include "command.h"

namespace lumora::ctl {

std::span<const Command> CatalogueCommands() {
  return {};
}

}  // namespace lumora::ctl
