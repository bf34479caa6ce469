// This program's command line, which is the system client's: "mstsc FILE [/admin | /console]".
#pragma once

#include <string>
#include <vector>

namespace rdp_client {

struct Invocation {
  std::wstring sessionFile;           // the first argument that is no switch; empty when none
  bool admin = false;                 // /admin or /console: both ask for the console session
  std::vector<std::wstring> ignored;  // switches this bridge does not carry over (/v:, /f, ...)
};

Invocation ParseInvocation(const wchar_t* commandLine);

}  // namespace rdp_client
