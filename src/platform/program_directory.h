// The program directory: where config.ini, mstsc.mdb, QQWry.dat and History live.
#pragma once

#include "base/text.h"

namespace lumora {

// The directory without a trailing backslash. Defaults to the executable's directory.
const Text& ProgramDirectory();

// Tests and tools point the program at another directory.
void SetProgramDirectory(Text directory);

// ProgramDirectory() + "\" + name.
Text ProgramFile(std::string_view name);

}  // namespace lumora
