#include "freerdp_start.h"

#include <windows.h>
#include <winsock2.h>

#include "loopback_pair.h"
#include "platform/win32/unique_handle.h"

namespace rdp_client {
namespace {

using lumora::platform::win32::UniqueKernelHandle;

void AddIf(std::vector<std::wstring>& arguments, bool wanted, const wchar_t* argument) {
  if (wanted) {
    arguments.emplace_back(argument);
  }
}

void AddValue(std::vector<std::wstring>& arguments, const wchar_t* option,
              const std::wstring& value) {
  if (!value.empty()) {
    arguments.push_back(option + value);
  }
}

// FreeRDP takes 8, 15, 16, 24 and 32 bits only (and says "invalid value" otherwise). The program
// stores "31" until the settings window is first closed, which then writes "32", so other depths
// go to the nearest one above, and past 32 to 32; 4-bit colour is long gone and becomes 8.
std::wstring FreeRdpColourDepth(const std::wstring& depth) {
  if (depth.empty() || depth.size() > 3) {
    return depth.empty() ? depth : L"32";
  }
  const int bits = std::stoi(depth);
  for (const int supported : {8, 15, 16, 24}) {
    if (bits <= supported) {
      return std::to_wstring(supported);
    }
  }
  return L"32";
}

void AddScreen(std::vector<std::wstring>& arguments, const SessionSettings& settings) {
  if (settings.fullScreen) {
    arguments.emplace_back(L"/f");
  } else if (!settings.width.empty() && !settings.height.empty()) {
    arguments.push_back(L"/size:" + settings.width + L"x" + settings.height);
  }
  AddValue(arguments, L"/bpp:", FreeRdpColourDepth(settings.colourDepth));
}

// One argument quoted so that CommandLineToArgvW (and Wine, for a Unix program) gives it back
// unchanged: backslashes only need doubling where a quote follows them.
std::wstring Quote(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

// Sends all of `input` and then the end of the stream.
bool SendAll(const UniqueSocket& socket, const Secret& input) {
  std::size_t sent = 0;
  while (sent < input.size()) {
    const int part = ::send(socket.get(), reinterpret_cast<const char*>(input.data() + sent),
                            static_cast<int>(input.size() - sent), 0);
    if (part <= 0) {
      return false;
    }
    sent += static_cast<std::size_t>(part);
  }
  return ::shutdown(socket.get(), SD_SEND) == 0;
}

// Keeps the last kKeptOutput bytes: a long session's log is not needed whole.
constexpr std::size_t kKeptOutput = 256 * 1024;

void ReadToEnd(const UniqueSocket& socket, std::string& output) {
  const HANDLE log = ::GetStdHandle(STD_ERROR_HANDLE);
  char buffer[4096];
  for (;;) {
    const int part = ::recv(socket.get(), buffer, sizeof buffer, 0);
    if (part <= 0) {
      return;
    }
    DWORD written = 0;
    if (log != nullptr && log != INVALID_HANDLE_VALUE) {
      ::WriteFile(log, buffer, static_cast<DWORD>(part), &written, nullptr);
    }
    output.append(buffer, static_cast<std::size_t>(part));
    if (output.size() > 2 * kKeptOutput) {
      output.erase(0, output.size() - kKeptOutput);
    }
  }
}

// "audiomode": played here, on the remote computer, or not at all; "audiocapturemode": this
// computer's microphone in the session.
void AddSound(std::vector<std::wstring>& arguments, const SessionSettings& settings) {
  if (settings.audioMode == 0) {
    arguments.emplace_back(L"/sound");
  } else {
    arguments.push_back(L"/audio-mode:" + std::to_wstring(settings.audioMode));
  }
  AddIf(arguments, settings.recording, L"/microphone");
}

// "keyboardhook": key combinations (Alt+Tab, the Windows key) go to the remote computer (1), to
// this one (0), or to the remote one in full screen only (2). FreeRDP grabs the keyboard or not.
void AddKeyboard(std::vector<std::wstring>& arguments, const SessionSettings& settings) {
  const bool remote =
      settings.keyboardHook == 1 || (settings.keyboardHook == 2 && settings.fullScreen);
  arguments.emplace_back(remote ? L"+grab-keyboard" : L"-grab-keyboard");
}

// FreeRDP splits these options at commas: a path with one in it cannot be given.
void AddDevices(std::vector<std::wstring>& arguments, const wchar_t* option,
                const std::vector<SharedDevice>& devices) {
  for (const SharedDevice& device : devices) {
    if (device.unixPath.find(L',') == std::wstring::npos) {
      arguments.push_back(option + device.name + L"," + device.unixPath);
    }
  }
}

}  // namespace

std::vector<std::wstring> FreeRdpArguments(const SessionSettings& settings, bool admin,
                                           CertificatePolicy policy,
                                           const std::vector<SharedDevice>& drives,
                                           const std::vector<SharedDevice>& serialPorts) {
  std::vector<std::wstring> arguments{
      std::wstring(kFreeRdpUnixPath, kFreeRdpUnixPath + sizeof kFreeRdpUnixPath - 1)};
  arguments.push_back(L"/v:" + settings.address);
  AddValue(arguments, L"/u:", settings.user);
  AddValue(arguments, L"/d:", settings.domain);
  AddScreen(arguments, settings);
  AddIf(arguments, admin, L"/admin");
  arguments.emplace_back(settings.clipboard ? L"+clipboard" : L"-clipboard");
  AddSound(arguments, settings);
  AddKeyboard(arguments, settings);
  // The bar that full screen shows at its top, as the system's client does.
  AddIf(arguments, settings.fullScreen && settings.connectionBar,
        L"/floatbar:sticky:off,default:visible,show:fullscreen");
  arguments.emplace_back(settings.compression ? L"+compression" : L"-compression");
  AddIf(arguments, !settings.wallpaper, L"-wallpaper");
  AddIf(arguments, !settings.themes, L"-themes");
  AddIf(arguments, settings.autoReconnect, L"+auto-reconnect");
  AddDevices(arguments, L"/drive:", drives);
  AddIf(arguments, settings.printers, L"/printer");
  AddIf(arguments, settings.smartCards, L"/smartcard");
  if (settings.serialPorts) {
    AddDevices(arguments, L"/serial:", serialPorts);
  }
  // The device channel's progress tells a session that was logged on from one that the server
  // ended at its log-on screen (see EndMessage).
  arguments.emplace_back(L"/log-filters:com.freerdp.channels.rdpdr.client:DEBUG");
  // Credentials come on standard input, and are asked for before connecting. With it set,
  // xfreerdp also never asks there about a certificate: what the policy does not accept, it
  // refuses.
  arguments.emplace_back(L"/from-stdin:force");
  arguments.emplace_back(policy == CertificatePolicy::kIgnore ? L"/cert:ignore" : L"/cert:tofu");
  return arguments;
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    if (!line.empty()) {
      line.push_back(L' ');
    }
    line += Quote(argument);
  }
  return line;
}

ClientRun RunWithInput(const std::wstring& application, const std::wstring& commandLine,
                       const Secret& input) {
  ClientRun run;
  if (::GetFileAttributesW(application.c_str()) == INVALID_FILE_ATTRIBUTES) {
    run.outcome = StartOutcome::kNotInstalled;
    return run;
  }
  const WinsockSession winsock;
  std::optional<LoopbackPair> inputPair;
  std::optional<LoopbackPair> outputPair;
  if (winsock.ready()) {
    inputPair = OpenLoopbackPair();
    outputPair = OpenLoopbackPair();
  }
  // A short input fits the socket's buffer whole, so it is sent before the child exists; the
  // child reads it and then the end of the stream.
  if (!inputPair || !outputPair || !SendAll(inputPair->ownEnd, input)) {
    return run;
  }
  inputPair->ownEnd.reset();
  const auto childInput = reinterpret_cast<HANDLE>(inputPair->childEnd.get());
  const auto childOutput = reinterpret_cast<HANDLE>(outputPair->childEnd.get());
  ::SetHandleInformation(childInput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  ::SetHandleInformation(childOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  startup.hStdOutput = childOutput;
  startup.hStdError = childOutput;
  // CreateProcessW may write into the command line.
  std::wstring line = commandLine;
  PROCESS_INFORMATION started{};
  // DETACHED_PROCESS: without it a parent with no console (this one) hands the child a console to
  // allocate, and Wine then starts a Unix program with /dev/null as its standard input.
  if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &started)) {
    run.outcome = ::GetLastError() == ERROR_FILE_NOT_FOUND ? StartOutcome::kNotInstalled
                                                           : StartOutcome::kFailed;
    return run;
  }
  // Wine gives no handles for a Unix child; a Windows one would have them.
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  run.outcome = StartOutcome::kStarted;
  // Only the child's copies may keep the streams open now.
  inputPair->childEnd.reset();
  outputPair->childEnd.reset();
  ReadToEnd(outputPair->ownEnd, run.output);
  return run;
}

}  // namespace rdp_client
