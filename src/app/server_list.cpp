#include "app/server_list.h"

#include "app/main_window_helpers.h"
#include "status/ip_locator.h"
#include "status/reachability_pass.h"

namespace lumora::app {
namespace {

constexpr int kHostCell = 0;
constexpr int kLocationCell = 6;

// On the user-interface thread: one locator for the whole pass, released at the end.
void LocateRows(forms::Control& list) {
  status::IpLocator locator;
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    list.SetCellText(row, kLocationCell, locator.Lookup(list.CellText(row, kHostCell)));
  }
}

}  // namespace

void FillServerList() {
  forms::Control list = ServerList();
  status::InvalidateReachabilityPasses();
  list.DeleteAllRows();
  LocateRows(list);
  status::StartReachabilityPass();
}

}  // namespace lumora::app
