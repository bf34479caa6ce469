// One line per event on standard error, which Wine connects to the terminal (or log) the program
// was started from. The password never goes here.
#pragma once

#include <string_view>

namespace rdp_client {

void Log(std::wstring_view line);

// Logs `text` and shows it in a message box, for what the user has to act on.
void Complain(std::wstring_view text);

}  // namespace rdp_client
