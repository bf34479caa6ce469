#include "app/server_list.h"

#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/main_window.h"
#include "status/ip_locator.h"
#include "status/reachability_pass.h"

namespace lumora::app {
namespace {

constexpr int kNewRowImage = 3;
constexpr char kDamagedLocationText[] = "IP数据库文件已损坏";

void AppendServerRows(forms::Control& list) {
  std::vector<catalogue::ServerRecord> servers;
  catalogue::ListServers(catalogue::MainRecords(), servers);
  for (const catalogue::ServerRecord& server : servers) {
    const int row = list.AppendRow("");
    list.SetRowImage(row, kNewRowImage);
    list.SetCellText(row, forms::server_cell::kHost, server.server_name);
    list.SetCellText(row, forms::server_cell::kPort, server.port);
    list.SetCellText(row, forms::server_cell::kUser, server.user_name);
    list.SetCellText(row, forms::server_cell::kRemark, server.remark);
    list.SetCellText(row, forms::server_cell::kDomain, server.domain);
    list.SetCellText(row, forms::server_cell::kRecordNumber, server.record_number);
  }
}

// On the user-interface thread: one locator for the whole pass, released at the end. A damaged
// database says so in the location column instead of showing stray bytes as places.
void LocateRows(forms::Control& list) {
  status::IpLocator locator;
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    const Text location = locator.Lookup(list.CellText(row, forms::server_cell::kHost));
    list.SetCellText(row, forms::server_cell::kLocation,
                     locator.Damaged() ? kDamagedLocationText : location);
  }
}

struct ListOrder {
  int cell = -1;  // -1: the catalogue's own order
  bool ascending = true;
};

ListOrder& Order() {
  static ListOrder order;
  return order;
}

void ApplyOrder(forms::Control& list) {
  const ListOrder& order = Order();
  if (order.cell >= 0) {
    const bool numeric =
        order.cell == forms::server_cell::kPort || order.cell == forms::server_cell::kDelay;
    list.SortRows(order.cell, order.ascending, numeric);
  }
}

// The row that now holds the server numbered `number`, or -1.
int RowNumbered(const forms::Control& list, const Text& number) {
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    if (list.CellText(row, forms::server_cell::kRecordNumber) == number) {
      return row;
    }
  }
  return -1;
}

}  // namespace

void FillServerList() {
  forms::Control list = forms::ServerList();
  // The user stays where they were: the same first row in view, the same server selected (by its
  // record number, when it is still there).
  // The server at the top is looked for only when the view is scrolled: at the top the view
  // stays at the top, and a search through every row costs a list request each.
  const int top = list.TopRow();
  const Text topServer = top > 0 ? list.CellText(top, forms::server_cell::kRecordNumber) : Text();
  const int current = list.CurrentRow();
  const Text selected =
      current >= 0 ? list.CellText(current, forms::server_cell::kRecordNumber) : Text();
  status::InvalidateReachabilityPasses();
  list.DeleteAllRows();
  AppendServerRows(list);
  LocateRows(list);
  ApplyOrder(list);
  const int topNow = topServer.empty() ? top : RowNumbered(list, topServer);
  list.ScrollToTopRow(topNow >= 0 ? topNow : top);
  if (!selected.empty()) {
    list.SetCurrentRow(RowNumbered(list, selected));
  }
  status::StartReachabilityPass();
}

void ResetServerListOrder() {
  Order() = {};
}

void SortServerListBy(int cell) {
  ListOrder& order = Order();
  order.ascending = order.cell == cell ? !order.ascending : true;
  order.cell = cell;
  forms::Control list = forms::ServerList();
  ApplyOrder(list);
}

}  // namespace lumora::app
