// Connecting, timed on Windows (or Wine) with the stand-in client: from the connect command to
// the client process started, over 1,000 connections from the real main window, and
// BuildSessionFile alone over 1,000.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/connect_command.h"
#include "app/program.h"
#include "forms/main_window.h"
#include "forms/win32/win32_window_system.h"
#include "forms/window_model.h"
#include "launcher/password_blob.h"
#include "launcher/session_file.h"
#include "platform/program_directory.h"
#include "services/jet/database.h"
#include "settings/settings_store.h"
#include "status/reachability_pass.h"
#include "support/stand_in_client.h"

namespace {

constexpr int kConnections = 1000;

double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

struct Summary {
  double median_ms;
  double p95_ms;
  double mean_ms;
};

Summary Summarise(std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  double total = 0;
  for (const double s : seconds) {
    total += s;
  }
  return {seconds[seconds.size() / 2] * 1000, seconds[seconds.size() * 95 / 100] * 1000,
          total / seconds.size() * 1000};
}

void Print(const char* what, const Summary& summary) {
  std::printf("%-44s median %8.3f ms   p95 %8.3f ms   mean %8.3f ms\n", what, summary.median_ms,
              summary.p95_ms, summary.mean_ms);
}

using lumora::testing_support::StandInDirectory;

std::string Variable(const char* name) {
  std::string value(32768, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value.data(), 32768);
  value.resize(length < 32768 ? length : 0);
  return value;
}

std::string MakeTempDirectory(const char* name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  std::string path = std::string(base) + name + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

}  // namespace

int main() {
  using namespace lumora;
  const std::string program = MakeTempDirectory("lumora-session-bench-");
  const std::string log = MakeTempDirectory("lumora-session-bench-log-");
  SetProgramDirectory(program);
  settings::WriteDefaults();
  const Text database = ProgramFile("mstsc.mdb");
  if (!jet::Database::Create(database)) {
    std::fprintf(stderr, "cannot create %s\n", database.c_str());
    return 1;
  }
  {
    std::optional<jet::Database> open = jet::Database::Open(database, false);
    if (!open || !open->InsertRow("Server", {{"服务器名", "127.0.0.1"},
                                             {"端口", "3389"},
                                             {"用户名", "administrator"},
                                             {"密码", "一个不短的密码123"},
                                             {"域", "WORKGROUP"}})) {
      std::fprintf(stderr, "cannot fill %s\n", database.c_str());
      return 1;
    }
  }
  SetEnvironmentVariableA("PATH", (StandInDirectory() + ";" + Variable("PATH")).c_str());
  SetEnvironmentVariableA("LUMORA_STANDIN_LOG", log.c_str());

  forms::Win32WindowSystem windows;
  forms::InstallWindowSystem(windows);
  app::RegisterWindows();
  if (!forms::LoadWindow(forms::MainWindow())) {
    std::fprintf(stderr, "cannot load the main window\n");
    return 1;
  }
  while (status::ReachabilityPassesRunning() > 0) {
    windows.ProcessPendingMessages();
    Sleep(1);
  }
  forms::ServerList().SetCurrentRow(0);

  const std::string done = log + "\\command-line.txt";
  std::vector<double> returned;
  std::vector<double> recorded;
  for (int i = 0; i < kConnections; ++i) {
    DeleteFileA(done.c_str());
    const double start = Seconds();
    app::ConnectCommand();
    returned.push_back(Seconds() - start);
    // The stand-in writes its log last: the client has run once it is there.
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (Seconds() - start > 30) {
        std::fprintf(stderr, "the stand-in client did not run (connection %d)\n", i);
        return 1;
      }
      Sleep(0);
    }
    recorded.push_back(Seconds() - start);
    windows.ProcessPendingMessages();
  }

  const launcher::SessionInputs inputs{"127.0.0.1", "3389", "administrator", "一个不短的密码123",
                                       "WORKGROUP"};
  std::vector<double> built;
  for (int i = 0; i < kConnections; ++i) {
    const double start = Seconds();
    const launcher::SessionFile file = launcher::BuildSessionFile(inputs);
    built.push_back(Seconds() - start);
    if (file.content.size() < 1000) {
      std::fprintf(stderr, "unexpected session file\n");
      return 1;
    }
  }

  // Where BuildSessionFile's time goes: protecting the password, and reading the options.
  std::vector<double> protectedOnly;
  std::vector<double> settingsOnly;
  for (int i = 0; i < kConnections; ++i) {
    double start = Seconds();
    const Text blob = launcher::MakePasswordBlob(inputs.password);
    protectedOnly.push_back(Seconds() - start);
    start = Seconds();
    settings::ConnectionSettings fresh;
    fresh.Load();
    settingsOnly.push_back(Seconds() - start);
    if (blob.size() < 3) {
      std::fprintf(stderr, "the password could not be protected\n");
      return 1;
    }
  }

  std::printf("%d connections from the main window, stand-in client %s\\mstsc.exe\n", kConnections,
              StandInDirectory().c_str());
  Print("connect command returned (client started)", Summarise(returned));
  Print("connect command to client run (log written)", Summarise(recorded));
  Print("BuildSessionFile alone", Summarise(built));
  Print("  of which: MakePasswordBlob", Summarise(protectedOnly));
  Print("  of which: reading section RDP of config.ini", Summarise(settingsOnly));

  windows.DestroyNow(forms::MainWindow());
  std::error_code ignored;
  std::filesystem::remove_all(program, ignored);
  std::filesystem::remove_all(log, ignored);
  return 0;
}
