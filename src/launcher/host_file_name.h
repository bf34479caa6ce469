// Whether a host name can name its session file inside the History folder.
#pragma once

#include <string_view>

namespace lumora::launcher {

// True when `host` + ".rdp" is a plain file name that stays inside its folder: not empty, no path
// separator ("\" or "/"), no "..", none of the characters <>:"|?* and no control character, not a
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, in any case, with
// or without an extension), no dot or blank at its end, and no lead byte without its second
// byte. Characters are GBK characters: the second byte of a double-byte character is never taken
// for one of these.
bool IsPlainFileName(std::string_view host);

}  // namespace lumora::launcher
