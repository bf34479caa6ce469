// Starting FreeRDP's X11 client for one session, with the password on its standard input.
#pragma once

#include <string>
#include <vector>

#include "secret.h"
#include "session_file.h"

namespace rdp_client {

inline constexpr char kFreeRdpUnixPath[] = "/usr/bin/xfreerdp";
inline constexpr char kShellUnixPath[] = "/bin/sh";

enum class CertificatePolicy {
  kTrustOnFirstUse,  // remember the first certificate, refuse a changed one
  kIgnore,           // tests only: their servers make a new certificate at every start
};

// A drive or serial port of this computer shown in the session: FreeRDP's name for it and what
// it is on the Linux side.
struct SharedDevice {
  std::wstring name;      // "C" for drive C, "COM1"
  std::wstring unixPath;  // the folder Wine's drive is, the device Wine's port is
};

// xfreerdp's arguments, its own name first. The session file itself is not handed over: its
// "authentication level:i:0" line makes xfreerdp skip every certificate check, which no option
// after it can undo. So the settings are carried over one by one.
std::vector<std::wstring> FreeRdpArguments(const SessionSettings& settings, bool admin,
                                           CertificatePolicy policy,
                                           const std::vector<SharedDevice>& drives = {},
                                           const std::vector<SharedDevice>& serialPorts = {});

// The arguments as one command line that the usual rules split back into the same words.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

enum class StartOutcome { kStarted, kNotInstalled, kFailed };

struct ClientRun {
  StartOutcome outcome = StartOutcome::kFailed;
  std::string output;  // what the program wrote to its output and error streams (the tail)
};

// Runs `commandLine` from `application` (a Windows path) with `input` written to its standard
// input, which is then closed, and waits until the program and everything it started have closed
// their output. Under Wine there is no process handle to wait on for a Unix program, so the end
// of its output is the end of the run. The output is also copied to this program's error stream.
ClientRun RunWithInput(const std::wstring& application, const std::wstring& commandLine,
                       const Secret& input);

}  // namespace rdp_client
