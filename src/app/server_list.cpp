#include "app/server_list.h"

#include "app/main_database.h"
#include "app/main_window_helpers.h"
#include "catalogue/server_store.h"
#include "status/ip_locator.h"
#include "status/reachability_pass.h"

namespace lumora::app {
namespace {

constexpr int kHostCell = 0;
constexpr int kPortCell = 1;
constexpr int kUserCell = 2;
constexpr int kRemarkCell = 5;
constexpr int kLocationCell = 6;
constexpr int kDomainCell = 7;
constexpr int kNewRowImage = 3;
constexpr char kDamagedLocationText[] = "IP数据库文件已损坏";

void AppendServerRows(forms::Control& list) {
  std::vector<catalogue::ServerRecord> servers;
  catalogue::ListServers(MainRecords(), servers);
  for (const catalogue::ServerRecord& server : servers) {
    const int row = list.AppendRow("");
    list.SetRowImage(row, kNewRowImage);
    list.SetCellText(row, kHostCell, server.server_name);
    list.SetCellText(row, kPortCell, server.port);
    list.SetCellText(row, kUserCell, server.user_name);
    list.SetCellText(row, kRemarkCell, server.remark);
    list.SetCellText(row, kDomainCell, server.domain);
  }
}

// On the user-interface thread: one locator for the whole pass, released at the end. A damaged
// database says so in the location column instead of showing stray bytes as places.
void LocateRows(forms::Control& list) {
  status::IpLocator locator;
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    const Text location = locator.Lookup(list.CellText(row, kHostCell));
    list.SetCellText(row, kLocationCell, locator.Damaged() ? kDamagedLocationText : location);
  }
}

}  // namespace

void FillServerList() {
  forms::Control list = ServerList();
  status::InvalidateReachabilityPasses();
  list.DeleteAllRows();
  AppendServerRows(list);
  LocateRows(list);
  status::StartReachabilityPass();
}

}  // namespace lumora::app
