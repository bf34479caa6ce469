// Filling the server list with 10,000 servers (or the count given after the location file; then
// the number of rounds, 5 by default; then, instead of loopback servers, a file of addresses) on
// the real list view (Windows or Wine): FillServerList (database read, locations, list rows)
// against the floor, a bare list view given the same texts.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "app/server_list.h"
#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/main_window.h"
#include "forms/win32/win32_window_system.h"
#include "forms/window_model.h"
#include "loopback_catalogue.h"
#include "platform/code_page.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "status/ip_locator.h"
#include "status/reachability_pass.h"

namespace {

int rounds = 5;
int serverCount = 10000;

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

double Best(const std::vector<double>& seconds) {
  return *std::min_element(seconds.begin(), seconds.end()) * 1000;
}

double Median(std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2] * 1000;
}

void Print(const char* what, const std::vector<double>& seconds) {
  std::printf("%-46s best %9.1f ms   median %9.1f ms\n", what, Best(seconds), Median(seconds));
}

std::string MakeTempDirectory(const char* name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  std::string path = std::string(base) + name + std::to_string(GetCurrentProcessId());
  // Wine reuses process ids: a directory left by an earlier run would hold its catalogue.
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

// Where a long run is, on standard error.
void Progress(const char* what) {
  static const double start = Seconds();
  std::fprintf(stderr, "%8.1f s  %s\n", Seconds() - start, what);
}

void WaitForReachability(lumora::forms::Win32WindowSystem& windows) {
  while (lumora::status::ReachabilityPassesRunning() > 0) {
    windows.ProcessPendingMessages();
    Sleep(1);
  }
  windows.ProcessPendingMessages();
}

// Clicks a row of the list every 50 ms from another thread while a pass runs, as a user would,
// and measures how long each click waits until the list shows the row selected: the user
// interface thread handles the click only between its other messages.
class ClickProbe {
 public:
  explicit ClickProbe(HWND list)
      : list_(list), thread_([this] {
          Run();
          finished_ = true;
        }) {}
  ~ClickProbe() {
    stop_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  ClickProbe(const ClickProbe&) = delete;
  ClickProbe& operator=(const ClickProbe&) = delete;

  // The waits so far, in seconds; ends the clicking. The user interface thread keeps handling
  // messages meanwhile, since the clicking thread may be waiting on it.
  std::vector<double> Stop(lumora::forms::Win32WindowSystem& windows) {
    stop_ = true;
    while (!finished_) {
      windows.ProcessPendingMessages();
      Sleep(1);
    }
    if (thread_.joinable()) {
      thread_.join();
    }
    return waits_;
  }
  // Clicks whose row was the selected one already (or that missed the rows): not timed.
  int Unseen() const { return unseen_; }
  // Before each click, one request to the Wine server (or the kernel), timed: an event made and
  // closed. Valid once Stop has returned.
  const std::vector<double>& ServerCalls() const { return serverCalls_; }

 private:
  void Run() {
    for (int click = 0; !stop_; ++click) {
      const double call = Seconds();
      CloseHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
      serverCalls_.push_back(Seconds() - call);
      // A row in view other than the selected one (a refill keeps the selection).
      DWORD_PTR top = 0;
      DWORD_PTR before = 0;
      DWORD_PTR mark = 0;
      RECT box{};
      box.left = LVIR_LABEL;
      DWORD_PTR ignored = 0;
      if (!SendMessageTimeoutW(list_, LVM_GETTOPINDEX, 0, 0, SMTO_NORMAL, 60000, &top) ||
          !SendMessageTimeoutW(list_, LVM_GETSELECTIONMARK, 0, 0, SMTO_NORMAL, 60000, &before)) {
        return;
      }
      int row = static_cast<int>(top) + click % 2;
      if (row == static_cast<int>(before)) {
        row = static_cast<int>(top) + 2;
      }
      if (!SendMessageTimeoutW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&box),
                               SMTO_NORMAL, 60000, &ignored)) {
        return;
      }
      const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
      // Any click moves the selection mark to the row it hit; one that hits the selected row
      // (or none) is not timed.
      const double start = Seconds();
      PostMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(list_, WM_LBUTTONUP, 0, at);
      while (!stop_ && Seconds() - start < 5 &&
             SendMessageTimeoutW(list_, LVM_GETSELECTIONMARK, 0, 0, SMTO_NORMAL, 60000, &mark) &&
             mark == before) {
        Sleep(0);
      }
      if (mark != before) {
        waits_.push_back(Seconds() - start);
      } else {
        ++unseen_;
      }
      Sleep(50);
    }
  }

  HWND list_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  int unseen_ = 0;
  std::vector<double> waits_;
  std::vector<double> serverCalls_;
  std::thread thread_;
};

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// The process's largest working set so far, in MiB.
double PeakWorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0)
             : 0;
}

// CPU seconds a thread or the whole process has used so far (kernel and user time).
double CpuSeconds(const FILETIME& kernel, const FILETIME& user) {
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

double ThreadCpuSeconds() {
  FILETIME created, ended, kernel, user;
  return GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)
             ? CpuSeconds(kernel, user)
             : 0;
}

double ProcessCpuSeconds() {
  FILETIME created, ended, kernel, user;
  return GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)
             ? CpuSeconds(kernel, user)
             : 0;
}

// The floor: a plain report list view with the same columns, given the same texts.
class BareListView {
 public:
  BareListView() {
    WNDCLASSW type{};
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"LumoraBareListBench";
    RegisterClassW(&type);
    frame_ = CreateWindowExW(0, type.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             740, 450, nullptr, nullptr, type.hInstance, nullptr);
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 56, 728,
                            352, frame_, nullptr, type.hInstance, nullptr);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const int widths[] = {160, 50, 100, 40, 40, 290, 160};
    for (int column = 0; column < 7; ++column) {
      LVCOLUMNW entry{};
      entry.mask = LVCF_WIDTH | LVCF_TEXT;
      entry.cx = widths[column];
      wchar_t caption[] = L"column";
      entry.pszText = caption;
      SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    }
  }
  ~BareListView() { DestroyWindow(frame_); }
  BareListView(const BareListView&) = delete;
  BareListView& operator=(const BareListView&) = delete;

  // Deletes every row, then appends one row per server: cells 0, 1, 2, 5 and 6 from GBK texts,
  // with drawing off meanwhile and the list marked for one repaint at the end.
  void Fill(const std::vector<lumora::catalogue::ServerRecord>& servers,
            const std::vector<lumora::Text>& locations) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < servers.size(); ++i) {
      std::wstring host = Wide(servers[i].server_name);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = host.data();
      const int row = static_cast<int>(
          SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      SetCell(row, 1, servers[i].port);
      SetCell(row, 2, servers[i].user_name);
      SetCell(row, 5, servers[i].remark);
      SetCell(row, 6, locations[i]);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }

  // Paints what Fill marked, as the message loop would next.
  void Paint() { UpdateWindow(list_); }

 private:
  static std::wstring Wide(const lumora::Text& text) {
    const std::u16string wide = lumora::platform::GbkToWide(text);
    return std::wstring(wide.begin(), wide.end());
  }
  void SetCell(int row, int cell, const lumora::Text& text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = cell;
    item.pszText = wide.data();
    SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  }

  HWND frame_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace lumora;
  if (argc > 2) {
    serverCount = std::atoi(argv[2]);
  }
  // Every round waits for its reachability pass, which takes minutes over 10,000 rows.
  if (argc > 3) {
    rounds = std::max(1, std::atoi(argv[3]));
  }
  const std::string program = MakeTempDirectory("lumora-fill-bench-");
  SetProgramDirectory(program);
  settings::WriteDefaults();
  // A file of addresses, one a line, instead of loopback ones (bench/silent_hosts.sh).
  std::vector<Text> hosts;
  if (argc > 4) {
    std::ifstream list(argv[4]);
    for (std::string line; std::getline(list, line);) {
      if (!line.empty()) {
        hosts.push_back(line);
      }
    }
    serverCount = static_cast<int>(hosts.size());
  }
  const bool made =
      hosts.empty() ? lumora::bench::MakeLoopbackCatalogue(ProgramFile("mstsc.mdb"), serverCount)
                    : lumora::bench::MakeCatalogue(ProgramFile("mstsc.mdb"), hosts);
  if (!made) {
    std::fprintf(stderr, "cannot make the catalogue\n");
    return 1;
  }
  Progress("catalogue written");
  // The location database the package lib-qqwry ships (scripts/setup installs it), when given.
  const char* locations = argc > 1 && argv[1][0] != '\0' ? argv[1] : nullptr;
  if (locations != nullptr && !CopyFileA(locations, ProgramFile("QQWry.dat").c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy %s\n", locations);
    return 1;
  }

  forms::Win32WindowSystem windows;
  forms::InstallWindowSystem(windows);
  app::RegisterWindows();
  if (!forms::LoadWindow(forms::MainWindow())) {
    std::fprintf(stderr, "cannot load the main window\n");
    return 1;
  }
  Progress("main window loaded and filled");
  WaitForReachability(windows);
  Progress("first reachability pass over");

  HWND list = static_cast<HWND>(windows.ControlHandle(
      forms::MainWindow(), forms::FindControlIndex(forms::MainWindow(), "超级列表框1")));
  // The same clicks with no pass running, for comparison.
  std::vector<double> idleClicks, idleCalls;
  {
    ClickProbe probe(list);
    const double start = Seconds();
    while (Seconds() - start < 2) {
      windows.ProcessPendingMessages();
      Sleep(1);
    }
    idleClicks = probe.Stop(windows);
    idleCalls = probe.ServerCalls();
  }
  int unseenClicks = 0;
  std::vector<double> fills, passes, clicks, calls, reads, lookups, floors, paints;
  // Of each pass's wall time: the share the user-interface thread was busy (on the CPU), and how
  // many cores the whole process kept busy on average.
  std::vector<double> uiShares, processCores;
  std::vector<catalogue::ServerRecord> servers;
  std::vector<Text> places;
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    app::FillServerList();
    fills.push_back(Seconds() - start);
    Progress("filled");
    start = Seconds();
    {
      const double uiCpu = ThreadCpuSeconds();
      const double processCpu = ProcessCpuSeconds();
      ClickProbe probe(list);
      WaitForReachability(windows);
      passes.push_back(Seconds() - start);
      uiShares.push_back((ThreadCpuSeconds() - uiCpu) / passes.back());
      processCores.push_back((ProcessCpuSeconds() - processCpu) / passes.back());
      const std::vector<double> waits = probe.Stop(windows);
      unseenClicks += probe.Unseen();
      clicks.insert(clicks.end(), waits.begin(), waits.end());
      calls.insert(calls.end(), probe.ServerCalls().begin(), probe.ServerCalls().end());
    }

    start = Seconds();
    catalogue::ListServers(catalogue::MainRecords(), servers);
    reads.push_back(Seconds() - start);

    start = Seconds();
    {
      status::IpLocator locator;
      places.clear();
      for (const catalogue::ServerRecord& server : servers) {
        places.push_back(locator.Lookup(server.server_name));
      }
    }
    lookups.push_back(Seconds() - start);
  }
  if (static_cast<int>(servers.size()) != serverCount) {
    std::fprintf(stderr, "read %zu servers, expected %d\n", servers.size(), serverCount);
    return 1;
  }
  {
    BareListView bare;
    for (int round = 0; round < rounds; ++round) {
      const double start = Seconds();
      bare.Fill(servers, places);
      floors.push_back(Seconds() - start);
      const double painting = Seconds();
      bare.Paint();
      paints.push_back(Seconds() - painting);
      windows.ProcessPendingMessages();
    }
  }

  std::printf("%d servers, %d rounds, location file: %s\n", serverCount, rounds,
              locations != nullptr ? locations : "none");
  Print("FillServerList (read, locations, rows)", fills);
  Print("reachability pass after the fill", passes);
  std::printf(
      "clicks during the passes: %zu timed (%d not), waited median %.1f ms, p95 %.1f ms, max %.1f "
      "ms\n",
      clicks.size(), unseenClicks, Percentile(clicks, 0.5) * 1000, Percentile(clicks, 0.95) * 1000,
      Percentile(clicks, 1.0) * 1000);
  std::printf("clicks with no pass running: %zu timed, waited median %.1f ms, max %.1f ms\n",
              idleClicks.size(), Percentile(idleClicks, 0.5) * 1000,
              Percentile(idleClicks, 1.0) * 1000);
  std::printf(
      "one server request (an event made and closed): median %.3f ms with no pass, %.3f ms "
      "during the passes (p95 %.3f ms)\n",
      Percentile(idleCalls, 0.5) * 1000, Percentile(calls, 0.5) * 1000,
      Percentile(calls, 0.95) * 1000);
  std::printf(
      "during the passes (median): user-interface thread on the CPU %.0f %% of the time, the "
      "process %.2f cores\n",
      Percentile(uiShares, 0.5) * 100, Percentile(processCores, 0.5));
  std::printf("peak working set: %.1f MiB\n", PeakWorkingSetMiB());
  Print("  of which: database read (ListServers)", reads);
  Print("  of which: location pass (IpLocator)", lookups);
  Print("floor: bare list view, same texts", floors);
  Print("  then its one repaint", paints);
  std::printf("ratio FillServerList / floor (best): %.2f\n", Best(fills) / Best(floors));

  windows.DestroyNow(forms::MainWindow());
  std::error_code ignored;
  std::filesystem::remove_all(program, ignored);
  return 0;
}
