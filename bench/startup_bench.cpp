// From start to the first window and from the start button to a filled list (Windows or Wine):
// bench_startup LUMORA.EXE [ROUNDS [SERVERS [LOCATION-FILE]]] copies the program into a fresh
// program directory with a catalogue of SERVERS loopback servers (default 0) and the location
// file, and in each of ROUNDS rounds (default 10):
// - starts it and times until a visible top-level window of the new process exists (the login
//   window, with its start button since no start-up password is set);
// - presses the start button as the mouse would and times until the main window is visible with
//   every server in its list;
// - starts this same executable with --bare-window, which shows one plain window at once (the
//   floor for the first figure), and with --bare-window-with-libraries, which first loads the
//   system libraries that Lumora.exe imports and a bare window does not.
// Each started process is closed as soon as what is timed is seen.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "loopback_catalogue.h"

namespace {

double Seconds() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Visible windows of one process: its top-level window, and the first child of a class in it.
struct WindowSearch {
  DWORD process = 0;
  const wchar_t* childClass = nullptr;
  HWND window = nullptr;
  HWND child = nullptr;
};

BOOL CALLBACK NoteChild(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<WindowSearch*>(search);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (IsWindowVisible(window) && lstrcmpiW(name, wanted.childClass) == 0) {
    wanted.child = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK NoteWindowOf(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<WindowSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != wanted.process || !IsWindowVisible(window)) {
    return TRUE;
  }
  if (wanted.childClass == nullptr) {
    wanted.window = window;
    return FALSE;
  }
  wanted.child = nullptr;
  EnumChildWindows(window, NoteChild, search);
  if (wanted.child != nullptr) {
    wanted.window = window;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of `process` (with a visible child of `childClass` when given), or
// the child itself; null when there is none yet.
HWND FindWindowOf(DWORD process, const wchar_t* childClass) {
  WindowSearch search{process, childClass};
  EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&search));
  return childClass == nullptr ? search.window : search.child;
}

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(process) && IsWindowVisible(window)) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

class StartedProcess {
 public:
  StartedProcess(std::string commandLine, const std::string& directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.c_str(), &startup, &process_) != FALSE;
  }
  // Closed as the user closes it, so that it ends its own way (a process killed while its echo
  // requests wait can deadlock Wine's ICMP service for every later program); killed only when it
  // has not ended ten seconds later.
  ~StartedProcess() {
    if (started_) {
      EnumWindows(CloseWindowOf, static_cast<LPARAM>(process_.dwProcessId));
      if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "process %lu did not end when closed: killed\n",
                     static_cast<unsigned long>(process_.dwProcessId));
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  StartedProcess(const StartedProcess&) = delete;
  StartedProcess& operator=(const StartedProcess&) = delete;

  bool Started() const { return started_; }
  DWORD Id() const { return process_.dwProcessId; }
  // Waits at most a minute, a millisecond at a time, for `seen()`; false when the process ended
  // or the minute passed first.
  template <typename Seen>
  bool WaitFor(Seen seen) const {
    const double start = Seconds();
    while (Seconds() - start < 60) {
      if (seen()) {
        return true;
      }
      if (WaitForSingleObject(process_.hProcess, 1) == WAIT_OBJECT_0) {
        return false;
      }
    }
    return false;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

struct RoundTimes {
  double toLogin = -1;
  double toFilledList = -1;
};

// One start of the program: to its login window, then from the start button to a main window
// whose list holds `servers` rows.
RoundTimes TimeProgram(const std::string& program, const std::string& directory, int servers) {
  RoundTimes times;
  const double start = Seconds();
  StartedProcess started("\"" + program + "\"", directory);
  if (!started.Started() || !started.WaitFor([&] { return FindWindowOf(started.Id(), nullptr); })) {
    return times;
  }
  times.toLogin = Seconds() - start;
  HWND button = nullptr;
  if (!started.WaitFor(
          [&] { return (button = FindWindowOf(started.Id(), L"Button")) != nullptr; })) {
    return times;
  }
  const double pressed = Seconds();
  PostMessageW(button, BM_CLICK, 0, 0);
  const bool filled = started.WaitFor([&] {
    HWND list = FindWindowOf(started.Id(), WC_LISTVIEWW);
    DWORD_PTR rows = 0;
    return list != nullptr &&
           SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &rows) &&
           static_cast<int>(rows) == servers;
  });
  if (filled) {
    times.toFilledList = Seconds() - pressed;
  }
  return times;
}

double TimeBareWindow(const std::string& self, const std::string& directory, const char* option) {
  const double start = Seconds();
  StartedProcess started("\"" + self + "\" " + option, directory);
  if (!started.Started() || !started.WaitFor([&] { return FindWindowOf(started.Id(), nullptr); })) {
    return -1;
  }
  return Seconds() - start;
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The libraries Lumora.exe imports beyond those of a bare window (COM, data protection and the
// socket layer it loads when first needed, after the login window).
constexpr const char* kProgramLibraries[] = {"comctl32.dll", "gdi32.dll", "msimg32.dll",
                                             "uxtheme.dll"};

int BareWindow(bool withProgramLibraries) {
  if (withProgramLibraries) {
    for (const char* library : kProgramLibraries) {
      LoadLibraryA(library);
    }
  }
  WNDCLASSW type{};
  type.lpfnWndProc = BareWindowProc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"LumoraBareWindowBench";
  RegisterClassW(&type);
  CreateWindowExW(0, type.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                  nullptr, nullptr, type.hInstance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    DispatchMessageW(&message);
  }
  return 0;
}

double Median(std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

void Print(const char* what, std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  if (seconds.empty() || seconds.front() < 0) {
    std::printf("%-46s not seen\n", what);
    return;
  }
  std::printf("%-46s best %8.1f ms   median %8.1f ms\n", what, seconds.front() * 1000,
              Median(seconds) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]).starts_with("--bare-window")) {
    return BareWindow(std::string(argv[1]) == "--bare-window-with-libraries");
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_startup LUMORA.EXE [ROUNDS [SERVERS [LOCATION-FILE]]]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  const int servers = argc > 3 ? std::max(0, std::atoi(argv[3])) : 0;
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string directory =
      std::string(base) + "lumora-startup-bench-" + std::to_string(GetCurrentProcessId());
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
  CreateDirectoryA(directory.c_str(), nullptr);
  // The program directory is the one that holds the program: a copy of it goes there.
  const std::string program = directory + "\\Lumora.exe";
  if (!CopyFileA(argv[1], program.c_str(), FALSE) ||
      !lumora::bench::MakeLoopbackCatalogue(directory + "\\mstsc.mdb", servers)) {
    std::fprintf(stderr, "cannot make the program directory %s\n", directory.c_str());
    return 1;
  }
  if (argc > 4 && !CopyFileA(argv[4], (directory + "\\QQWry.dat").c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy %s\n", argv[4]);
    return 1;
  }
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<double> toLogin, toFilledList, bare, bareWithLibraries;
  for (int round = 0; round < rounds; ++round) {
    const RoundTimes times = TimeProgram(program, directory, servers);
    toLogin.push_back(times.toLogin);
    toFilledList.push_back(times.toFilledList);
    bare.push_back(TimeBareWindow(self, directory, "--bare-window"));
    bareWithLibraries.push_back(TimeBareWindow(self, directory, "--bare-window-with-libraries"));
  }
  std::printf("%d rounds, %d servers, location file: %s\n", rounds, servers,
              argc > 4 ? argv[4] : "none");
  Print("Lumora.exe: start to the login window", toLogin);
  Print("floor: a bare window", bare);
  Print("  the same, having loaded Lumora's libraries", bareWithLibraries);
  Print("Lumora.exe: start button to the filled list", toFilledList);
  if (*std::min_element(toLogin.begin(), toLogin.end()) > 0 &&
      *std::min_element(bare.begin(), bare.end()) > 0) {
    std::printf("ratio start to login / bare window (medians): %.2f\n",
                Median(toLogin) / Median(bare));
  }
  std::filesystem::remove_all(directory, ignored);
  return 0;
}
