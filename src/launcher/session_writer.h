// Writing a connection's session file into the History folder.
#pragma once

#include <optional>

#include "launcher/session_file.h"

namespace lumora::launcher {

// Builds the session file for the connection and writes it into the History folder, which is
// created when missing. A host name that is not a plain file name (IsPlainFileName) is refused
// before anything is written. Nothing when refused or when the file cannot be written.
std::optional<SessionFile> WriteSessionFile(const SessionInputs& inputs);

}  // namespace lumora::launcher
