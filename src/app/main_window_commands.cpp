#include "app/main_window_commands.h"

#include <vector>

#include "app/about_box.h"
#include "app/connect_command.h"
#include "catalogue/host_editor.h"
#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "settings/settings_commands.h"
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
      catalogue::AddServerCommand();
      break;
    case forms::main_toolbar::kModify:
      catalogue::ModifyServerCommand();
      break;
    case forms::main_toolbar::kDelete:
      catalogue::DeleteServersCommand();
      break;
    case forms::main_toolbar::kRefresh:
      status::StartReachabilityPass();
      break;
    case forms::main_toolbar::kSettings:
      settings::OpenSettingsWindow();
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
  const forms::Control list = forms::ServerList();
  const int row = list.CurrentRow();
  if (row != -1) {
    catalogue::SelectServer(catalogue::MainRecords(), list.CellText(row, 0));
  }
  return std::nullopt;
}

forms::HandlerResult ServerListDoubleClicked(forms::EventArgs) {
  ConnectCommand();
  return std::nullopt;
}

forms::HandlerResult ServerListKeyDown(forms::EventArgs args) {
  constexpr int kEnter = 13;
  constexpr int kDelete = 46;
  if (args.empty()) {
    return std::nullopt;
  }
  if (args[0] == kEnter) {
    ConnectCommand();
  } else if (args[0] == kDelete) {
    catalogue::DeleteServersCommand();
  }
  return std::nullopt;
}

forms::HandlerResult ServerListContextMenu(forms::EventArgs args) {
  if (args.size() < 2) {
    return std::nullopt;
  }
  const forms::Control toolbar(forms::MainWindow(), "工具条1");
  std::vector<Text> captions;
  std::vector<int> buttons;
  const auto definitions = toolbar.Definition().properties.buttons;
  for (std::size_t button = 0; button < definitions.size(); ++button) {
    if (!definitions[button].hidden && definitions[button].caption != nullptr) {
      captions.emplace_back(definitions[button].caption);
      buttons.push_back(static_cast<int>(button));
    }
  }
  const int chosen = forms::ServerList().ChooseFromMenu(captions, {args[0], args[1]});
  if (chosen >= 0 && chosen < static_cast<int>(buttons.size())) {
    const int button[] = {buttons[chosen]};
    ToolbarButtonClicked(button);
  }
  return std::nullopt;
}

}  // namespace lumora::app
