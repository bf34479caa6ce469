#include "app/main_window_commands.h"

#include "app/connect_command.h"
#include "app/host_editor.h"
#include "app/main_database.h"
#include "app/main_window_helpers.h"
#include "app/settings_commands.h"
#include "catalogue/server_store.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "status/reachability_pass.h"

namespace lumora::app {

forms::HandlerResult ToolbarButtonClicked(forms::EventArgs args) {
  if (args.empty()) {
    return std::nullopt;
  }
  switch (args[0]) {
    case forms::main_toolbar::kConnect:
      ConnectCommand();
      break;
    case forms::main_toolbar::kAdd:
      AddServerCommand();
      break;
    case forms::main_toolbar::kModify:
      ModifyServerCommand();
      break;
    case forms::main_toolbar::kDelete:
      DeleteServersCommand();
      break;
    case forms::main_toolbar::kRefresh:
      status::StartReachabilityPass();
      break;
    case forms::main_toolbar::kSettings:
      OpenSettingsWindow();
      break;
    case forms::main_toolbar::kClearHistory:
      ClearHistoryCommand();
      break;
    case forms::main_toolbar::kAbout:
      ShowAboutBox();
      break;
    case forms::main_toolbar::kExit:
      forms::EndProgram(0);
      break;
    default:
      break;
  }
  return std::nullopt;
}

forms::HandlerResult ServerListClicked(forms::EventArgs) {
  const forms::Control list = ServerList();
  const int row = list.CurrentRow();
  if (row != -1) {
    catalogue::SelectServer(MainRecords(), list.CellText(row, 0));
  }
  return std::nullopt;
}

forms::HandlerResult ServerListDoubleClicked(forms::EventArgs) {
  ConnectCommand();
  return std::nullopt;
}

}  // namespace lumora::app
