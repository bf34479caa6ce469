// How a FreeRDP run ended, and what the user is told about it. xfreerdp's exit code is the only
// reliable account: it is one of FreeRDP's documented codes (client/X11/xf_client.h, "XF_EXIT_*").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rdp_client {

// The shell words that run xfreerdp (`freerdp`, its own name first) and then print its exit code
// on the output as one last line, so that the exit code of a Unix program that Wine gives no
// handle for still reaches this program.
std::vector<std::wstring> ReportingExitCode(const std::vector<std::wstring>& freerdp);

// The exit code reported at the end of `output`; nothing when the run stopped before reporting.
std::optional<int> ReportedExitCode(std::string_view output);

// What the user is told after xfreerdp ended with `exitCode` on a connection to `address`
// ("HOST:PORT"), having written `output`; empty when nothing went wrong (the session ended as
// sessions do, or xfreerdp was stopped from outside).
std::wstring EndMessage(int exitCode, const std::wstring& address, std::string_view output);

}  // namespace rdp_client
