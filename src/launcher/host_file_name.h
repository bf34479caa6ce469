// Whether a host name can name its session file inside the History folder.
#pragma once

#include <string_view>

#include "base/text.h"

namespace lumora::launcher {

// True when `host` + ".rdp" is a plain file name that stays inside its folder: not empty, no path
// separator ("\" or "/"), no "..", none of the characters <>:"|?* and no control character, not a
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, in any case, with
// or without an extension), no dot or blank at its end, and no lead byte without its second
// byte. Characters are GBK characters: the second byte of a double-byte character is never taken
// for one of these.
bool IsPlainFileName(std::string_view host);

// The name of `host`'s session file, less ".rdp": the host itself, or "_" and the host when the
// system would take the host's file name for a device ("con.example.com", "AUX.lan"), so that
// such a host still connects under its own name.
Text HistoryFileStem(std::string_view host);

}  // namespace lumora::launcher
