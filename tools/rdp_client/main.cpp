// mstsc.exe for Wine: opens the session the program wrote with FreeRDP's X11 client.
//
// Started as the system client is, "mstsc FILE [/admin | /console]". It reads the session file,
// recovers the protected password for the current user and runs /usr/bin/xfreerdp with the
// file's settings, handing it the password on standard input only. It stays until xfreerdp ends
// (as the system client stays for its session) and then tells the user why a connection failed.
// scripts/run puts it beside the program for Linux users; never part of the Windows release.
//
// LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES=1 (tests only) accepts any server certificate; otherwise
// the first one a server shows is remembered and a changed one refused.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "arguments.h"
#include "client_end.h"
#include "freerdp_start.h"
#include "log.h"
#include "secret.h"
#include "session_file.h"
#include "unix_path.h"

namespace rdp_client {
namespace {

constexpr wchar_t kNotInstalled[] = L"无法启动 FreeRDP（/usr/bin/xfreerdp）：请安装 freerdp2-x11。";

CertificatePolicy PolicyFromEnvironment() {
  wchar_t value[4] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES", value,
                                                 sizeof value / sizeof value[0]);
  return length == 1 && value[0] == L'1' ? CertificatePolicy::kIgnore
                                         : CertificatePolicy::kTrustOnFirstUse;
}

// What goes to xfreerdp's standard input: the password line when there is a user to log on as.
// Without a user xfreerdp would ask for one first and take the password for the user name, so it
// gets nothing and fails to log on instead.
Secret StandardInput(const SessionSettings& settings) {
  if (settings.user.empty()) {
    Log(L"the session file names no user; xfreerdp gets no credentials");
    return Secret();
  }
  std::optional<Secret> password = RecoverPassword(settings.passwordBlob);
  if (!password) {
    Log(L"the session file's password cannot be recovered for this user; sending an empty one");
    password.emplace();
  }
  Secret line(password->size() + 1);
  std::copy(password->data(), password->data() + password->size(), line.data());
  line.data()[password->size()] = '\n';
  return line;
}

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
  return wide;
}

// The drives the file names ("C:;D:\;") as the Linux folders Wine keeps them in: each drive
// whole, from its root ("C:" alone would be the current folder on C:).
std::vector<SharedDevice> SharedDrives(const SessionSettings& settings) {
  std::vector<SharedDevice> shared;
  for (const std::wstring& drive : settings.drives) {
    const std::optional<std::string> folder = drive.size() >= 2 && drive[1] == L':'
                                                  ? UnixPathOf(drive.substr(0, 2) + L"\\")
                                                  : std::nullopt;
    if (!folder) {
      Log(L"drive not shared, it has no Linux folder: " + drive);
      continue;
    }
    shared.push_back({drive.substr(0, 1), FromUtf8(*folder)});
  }
  return shared;
}

// The serial ports Wine has (COM1 to COM9), each as the link in the prefix's "dosdevices" folder
// that names its Linux device.
std::vector<SharedDevice> SerialPorts() {
  std::vector<SharedDevice> ports;
  const std::optional<std::string> driveC = UnixPathOf(L"C:\\");
  if (!driveC) {
    return ports;
  }
  std::string folder = *driveC;
  const std::size_t links = folder.rfind("/dosdevices/");
  if (links != std::string::npos) {
    folder.erase(links + 12);
  } else if (const std::size_t drive = folder.rfind("/drive_c"); drive != std::string::npos) {
    folder.erase(drive + 1).append("dosdevices/");
  } else {
    return ports;
  }
  for (int number = 1; number <= 9; ++number) {
    const std::string link = folder + "com" + std::to_string(number);
    const std::optional<std::wstring> dosLink = DosPathOf(link.c_str());
    if (dosLink && ::GetFileAttributesW(dosLink->c_str()) != INVALID_FILE_ATTRIBUTES) {
      ports.push_back({L"COM" + std::to_wstring(number), FromUtf8(link)});
    }
  }
  return ports;
}

void LogIgnored(const Invocation& invocation) {
  for (const std::wstring& word : invocation.ignored) {
    Log(L"ignored: " + word);
  }
}

int Run() {
  const Invocation invocation = ParseInvocation(::GetCommandLineW());
  LogIgnored(invocation);
  if (invocation.sessionFile.empty()) {
    Complain(L"用法：mstsc 会话文件 [/admin | /console]");
    return 2;
  }
  const std::optional<SessionSettings> settings = ReadSessionFile(invocation.sessionFile);
  if (!settings) {
    Complain(L"无法读取会话文件：" + invocation.sessionFile);
    return 1;
  }
  const std::optional<std::wstring> freerdp = DosPathOf(kFreeRdpUnixPath);
  const std::optional<std::wstring> shell = DosPathOf(kShellUnixPath);
  if (!freerdp || !shell) {
    Complain(L"此 mstsc 只能在 Wine 下运行。");
    return 1;
  }
  if (::GetFileAttributesW(freerdp->c_str()) == INVALID_FILE_ATTRIBUTES) {
    Complain(kNotInstalled);
    return 1;
  }
  const std::vector<std::wstring> arguments = FreeRdpArguments(
      *settings, invocation.admin, PolicyFromEnvironment(), SharedDrives(*settings),
      settings->serialPorts ? SerialPorts() : std::vector<SharedDevice>{});
  Log(L"starting: " + JoinCommandLine(arguments));
  const Secret input = StandardInput(*settings);
  const ClientRun run = RunWithInput(*shell, JoinCommandLine(ReportingExitCode(arguments)), input);
  if (run.outcome != StartOutcome::kStarted) {
    Complain(std::wstring(kNotInstalled) + L"\n（错误 " + std::to_wstring(::GetLastError()) +
             L"）");
    return 1;
  }
  const std::optional<int> exitCode = ReportedExitCode(run.output);
  if (!exitCode) {
    Log(L"xfreerdp ended without an exit code");
    return 1;
  }
  Log(L"xfreerdp exit code: " + std::to_wstring(*exitCode));
  const std::wstring message = EndMessage(*exitCode, settings->address, run.output);
  if (!message.empty()) {
    Complain(message);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace rdp_client

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return rdp_client::Run();
}
