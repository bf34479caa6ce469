// Wine's own path conversions. kernel32 exports them only under Wine, so they are looked up at
// run time: on Windows they are missing and this program has nothing to start.
#pragma once

#include <optional>
#include <string>

namespace rdp_client {

// The Windows path under which Wine shows the Unix file `unixPath` (e.g. Z:\usr\bin\xfreerdp);
// nothing when not running under Wine.
std::optional<std::wstring> DosPathOf(const char* unixPath);

}  // namespace rdp_client
