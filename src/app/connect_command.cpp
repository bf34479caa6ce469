#include "app/connect_command.h"

#include "catalogue/main_database.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "launcher/history.h"
#include "launcher/launch.h"
#include "launcher/session_inputs.h"

namespace lumora::app {
namespace {

launcher::ServerRowCells RowCells(const forms::Control& list, int row) {
  return {list.CellText(row, forms::server_cell::kHost),
          list.CellText(row, forms::server_cell::kPort),
          list.CellText(row, forms::server_cell::kUser),
          list.CellText(row, forms::server_cell::kDomain),
          list.CellText(row, forms::server_cell::kRecordNumber)};
}

}  // namespace

void ConnectCommand() {
  const forms::Control list = forms::ServerList();
  if (list.RowCount() == 0) {
    forms::ShowTip("服务器列表是空的!");
    return;
  }
  const int row = list.CurrentRow();
  if (row == -1) {
    forms::ShowTip("请选择要连接的服务器！");
    return;
  }
  const launcher::SessionInputs inputs =
      launcher::GatherSessionInputs(catalogue::MainRecords(), RowCells(list, row));
  // "正在进行远程协助!" only once the client is up, and not beside the client's own error box,
  // where it would say the opposite of what the box says.
  const Text tip = launcher::LaunchTip(launcher::LaunchSession(inputs, [] {
    forms::System().PostToUiThread([] {
      forms::Control(forms::MainWindow(), forms::kBalloonTipName)
          .HideBalloon(launcher::LaunchTip(launcher::LaunchOutcome::kStarted));
    });
  }));
  if (!tip.empty()) {
    forms::ShowTip(tip);
  }
}

void ClearHistoryCommand() {
  const launcher::ClearHistoryResult result = launcher::ClearHistory();
  const unsigned icon =
      result.failed > 0 ? forms::box::kIconExclamation : forms::box::kIconInformation;
  forms::ShowMessageBox(launcher::ClearHistoryMessage(result), icon, launcher::kClearHistoryTitle);
}

}  // namespace lumora::app
