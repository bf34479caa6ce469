#include "app/connect_command.h"

#include "app/main_database.h"
#include "app/main_window_helpers.h"
#include "forms/window_model.h"
#include "launcher/history.h"
#include "launcher/launch.h"
#include "launcher/session_inputs.h"

namespace lumora::app {
namespace {

launcher::ServerRowCells RowCells(const forms::Control& list, int row) {
  return {list.CellText(row, server_cell::kHost), list.CellText(row, server_cell::kPort),
          list.CellText(row, server_cell::kUser), list.CellText(row, server_cell::kDomain),
          list.CellText(row, server_cell::kRecordNumber)};
}

}  // namespace

void ConnectCommand() {
  const forms::Control list = ServerList();
  if (list.RowCount() == 0) {
    ShowTip("服务器列表是空的!");
    return;
  }
  const int row = list.CurrentRow();
  if (row == -1) {
    ShowTip("请选择要连接的服务器！");
    return;
  }
  const launcher::SessionInputs inputs =
      launcher::GatherSessionInputs(MainRecords(), RowCells(list, row));
  ShowTip(launcher::LaunchTip(launcher::LaunchSession(inputs)));
}

void ClearHistoryCommand() {
  const launcher::ClearHistoryResult result = launcher::ClearHistory();
  const unsigned icon =
      result.failed > 0 ? forms::box::kIconExclamation : forms::box::kIconInformation;
  forms::ShowMessageBox(launcher::ClearHistoryMessage(result), icon, launcher::kClearHistoryTitle);
}

}  // namespace lumora::app
