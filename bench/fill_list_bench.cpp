// Filling the server list with 10,000 servers (or the count given after the location file; then
// the number of rounds, 5 by default) on the real list view (Windows or Wine): FillServerList
// (database read, locations, list rows) against the floor, a bare list view given the same texts.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/server_list.h"
#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/main_window.h"
#include "forms/win32/win32_window_system.h"
#include "forms/window_model.h"
#include "platform/code_page.h"
#include "platform/program_directory.h"
#include "services/jet/database.h"
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

// Loopback addresses only: the reachability pass that every fill starts probes them all.
lumora::Text Host(int i) {
  return "127." + std::to_string(i / 65536 % 256) + "." + std::to_string(i / 256 % 256) + "." +
         std::to_string(i % 256 + (i % 256 == 0 ? 1 : 0));
}

bool MakeCatalogue(const lumora::Text& path) {
  using namespace lumora;
  if (!jet::Database::Create(path)) {
    return false;
  }
  std::optional<jet::Database> database = jet::Database::Open(path, false);
  if (!database) {
    return false;
  }
  for (int i = 0; i < serverCount; ++i) {
    const jet::RowValues row = {
        {"服务器名", Host(i)},
        {"端口", "3389"},
        {"用户名", "administrator"},
        {"密码", "secret"},
        {"域", i % 3 == 0 ? std::optional<Text>("WORKGROUP") : std::nullopt},
        {"备注", "机房服务器 " + std::to_string(i)}};
    if (!database->InsertRow("Server", row)) {
      return false;
    }
  }
  return true;
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
  if (!MakeCatalogue(ProgramFile("mstsc.mdb"))) {
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

  std::vector<double> fills, reads, lookups, floors, paints;
  std::vector<catalogue::ServerRecord> servers;
  std::vector<Text> places;
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    app::FillServerList();
    fills.push_back(Seconds() - start);
    Progress("filled");
    WaitForReachability(windows);

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
