// From start to the first window (Windows or Wine): bench_startup LUMORA.EXE [ROUNDS] starts the
// program ROUNDS times (default 10) in a fresh program directory with an empty catalogue, and
// times until a visible top-level window of the new process exists (the login window); then the
// floor, this same executable started with --bare-window, which shows one plain window at once.
// Each started process is ended as soon as its window is seen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "services/jet/database.h"

namespace {

double Seconds() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
  DWORD process = 0;
  bool found = false;
};

BOOL CALLBACK NoteWindowOf(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<WindowSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == wanted.process && IsWindowVisible(window)) {
    wanted.found = true;
    return FALSE;
  }
  return TRUE;
}

// Seconds from CreateProcess until the process shows a window; negative when it shows none within
// a minute.
double TimeToFirstWindow(std::string commandLine, const std::string& directory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const double start = Seconds();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &started)) {
    return -1;
  }
  WindowSearch search{started.dwProcessId};
  double shown = -1;
  while (Seconds() - start < 60) {
    EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      shown = Seconds() - start;
      break;
    }
    if (WaitForSingleObject(started.hProcess, 1) == WAIT_OBJECT_0) {
      break;
    }
  }
  TerminateProcess(started.hProcess, 0);
  WaitForSingleObject(started.hProcess, 10000);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return shown;
}

int BareWindow() {
  WNDCLASSW type{};
  type.lpfnWndProc = DefWindowProcW;
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

void Print(const char* what, std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  if (seconds.empty() || seconds.front() < 0) {
    std::printf("%-40s no window seen\n", what);
    return;
  }
  std::printf("%-40s best %8.1f ms   median %8.1f ms\n", what, seconds.front() * 1000,
              seconds[seconds.size() / 2] * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--bare-window") {
    return BareWindow();
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_startup LUMORA.EXE [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string program = std::string(base) + "lumora-startup-bench";
  std::error_code ignored;
  std::filesystem::remove_all(program, ignored);
  CreateDirectoryA(program.c_str(), nullptr);
  if (!lumora::jet::Database::Create(program + "\\mstsc.mdb")) {
    std::fprintf(stderr, "cannot make the catalogue\n");
    return 1;
  }
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<double> lumora, bare;
  for (int round = 0; round < rounds; ++round) {
    lumora.push_back(TimeToFirstWindow("\"" + std::string(argv[1]) + "\"", program));
    bare.push_back(TimeToFirstWindow("\"" + std::string(self) + "\" --bare-window", program));
  }
  std::printf("%d rounds, program directory %s\n", rounds, program.c_str());
  Print("Lumora.exe: start to the login window", lumora);
  Print("floor: a bare window", bare);
  std::sort(lumora.begin(), lumora.end());
  std::sort(bare.begin(), bare.end());
  if (lumora.front() > 0 && bare.front() > 0) {
    std::printf("ratio (medians): %.2f\n", lumora[lumora.size() / 2] / bare[bare.size() / 2]);
  }
  std::filesystem::remove_all(program, ignored);
  return 0;
}
