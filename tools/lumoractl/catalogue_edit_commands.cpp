#include "command.h"

namespace lumora::ctl {

std::span<const Command> CatalogueEditCommands() {
  return {};
}

}  // namespace lumora::ctl
