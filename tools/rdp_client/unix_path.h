// Wine's own path conversions. kernel32 exports them only under Wine, so they are looked up at
// run time: on Windows they are missing and this program has nothing to start.
#pragma once

#include <optional>
#include <string>

namespace rdp_client {

// The Windows path under which Wine shows the Unix file `unixPath` (e.g. Z:\usr\bin\xfreerdp);
// nothing when not running under Wine.
std::optional<std::wstring> DosPathOf(const char* unixPath);

// The Unix path of the Windows path `dosPath` (e.g. C:\ is ~/.wine/drive_c/); nothing when not
// running under Wine or when the path has no Unix counterpart.
std::optional<std::string> UnixPathOf(const std::wstring& dosPath);

}  // namespace rdp_client
