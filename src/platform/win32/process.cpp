#include "platform/process.h"

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/thread.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {

namespace {

// The message text of a message box has this control id, under Windows and Wine alike.
constexpr int kMessageBoxTextId = 0xFFFF;

struct BoxSearch {
  DWORD process;
  bool found;
};

BOOL CALLBACK NoteMessageBox(HWND window, LPARAM search) {
  auto& of = *reinterpret_cast<BoxSearch*>(search);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (owner == of.process && ::IsWindowVisible(window) && ::lstrcmpW(className, L"#32770") == 0 &&
      ::GetDlgItem(window, kMessageBoxTextId) != nullptr) {
    of.found = true;
    return FALSE;
  }
  return TRUE;
}

bool ShowsMessageBox(DWORD process) {
  BoxSearch search{process, false};
  ::EnumWindows(NoteMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A client that fails later (a refused log-on) shows its box after its first idle moment.
void WatchForMessageBox(std::shared_ptr<win32::UniqueKernelHandle> process, DWORD processId,
                        std::function<void()> told) {
  StartDetachedThread([process = std::move(process), processId, told = std::move(told)] {
    constexpr DWORD kStepMs = 100;
    for (DWORD waited = 0; waited < kTellWatchMs; waited += kStepMs) {
      if (::WaitForSingleObject(process->get(), kStepMs) != WAIT_TIMEOUT) {
        return;  // ended, or no longer watchable
      }
      if (ShowsMessageBox(processId)) {
        told();
        return;
      }
    }
  });
}

}  // namespace

StartedProgram StartProcess(const Text& commandLine,
                            const std::function<void()>& whenItTellsTheUser) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return StartedProgram::kNotStarted;
  }
  auto process = std::make_shared<win32::UniqueKernelHandle>(started.hProcess);
  const win32::UniqueKernelHandle thread(started.hThread);
  // A program that fails at once (the remote-desktop client for a server that is down) is idle
  // first in its own message box.
  ::WaitForInputIdle(process->get(), kInputIdleWaitMs);
  DWORD exitCode = 0;
  if (::GetExitCodeProcess(process->get(), &exitCode) && exitCode != STILL_ACTIVE) {
    return exitCode == 0 ? StartedProgram::kStarted : StartedProgram::kTellsTheUser;
  }
  if (ShowsMessageBox(started.dwProcessId)) {
    return StartedProgram::kTellsTheUser;
  }
  if (whenItTellsTheUser) {
    WatchForMessageBox(std::move(process), started.dwProcessId, whenItTellsTheUser);
  }
  return StartedProgram::kStarted;
}

Text SystemProgram(const Text& fileName) {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  const Text path = Text(folder, length) + "\\" + fileName;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {};
  }
  return path;
}

}  // namespace lumora::platform
