// Files and folders. Paths are GBK texts with backslash separators, as the program forms them.
#pragma once

#include "base/text.h"

namespace lumora::platform {

// True when a file or a directory matches `path` (FindFirstFile semantics, no wildcards used).
bool FileExists(const Text& path);

// The directory of the running executable, without a trailing separator.
Text ExecutableDirectory();

}  // namespace lumora::platform
