#include "app/main_window_commands.h"

#include <vector>

#include "app/about_box.h"
#include "app/connect_command.h"
#include "app/server_list.h"
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

forms::HandlerResult ServerListHeaderClicked(forms::EventArgs args) {
  if (!args.empty()) {
    SortServerListBy(args[0]);
  }
  return std::nullopt;
}

// A double-click on the empty part of the list (which leaves no row selected) means nothing.
forms::HandlerResult ServerListDoubleClicked(forms::EventArgs) {
  if (forms::ServerList().CurrentRow() >= 0) {
    ConnectCommand();
  }
  return std::nullopt;
}

namespace {

constexpr int kCtrl = 1;

// The toolbar's commands on the keyboard, as Windows programs have them: the key on the list, its
// name in the context menu, and the command's access key there.
struct KeyCommand {
  int button;
  char accessKey;
  const char* shortcut;  // as the menu shows it; nullptr: none
  int key;               // virtual-key code on the list; 0: none
  int keyState;
};

constexpr KeyCommand kKeyCommands[] = {
    {forms::main_toolbar::kConnect, 'C', "Enter", 13, 0},
    {forms::main_toolbar::kAdd, 'A', "Ins", 45, 0},
    {forms::main_toolbar::kAdd, 'A', "Ctrl+N", 'N', kCtrl},
    {forms::main_toolbar::kModify, 'M', "F2", 113, 0},
    {forms::main_toolbar::kDelete, 'D', "Del", 46, 0},
    {forms::main_toolbar::kRefresh, 'R', "F5", 116, 0},
    {forms::main_toolbar::kSettings, 'S', nullptr, 0, 0},
    {forms::main_toolbar::kClearHistory, 'H', nullptr, 0, 0},
    {forms::main_toolbar::kAbout, 'U', nullptr, 0, 0},
};

// "连接Lumora(&C)\tEnter": the caption, its access key and its first key.
Text MenuCaption(int button, const char* caption) {
  for (const KeyCommand& command : kKeyCommands) {
    if (command.button == button) {
      Text text = Text(caption) + "(&" + command.accessKey + ")";
      if (command.shortcut != nullptr) {
        text += Text("\t") + command.shortcut;
      }
      return text;
    }
  }
  return caption;
}

}  // namespace

forms::HandlerResult ServerListKeyDown(forms::EventArgs args) {
  if (args.empty()) {
    return std::nullopt;
  }
  const int keyState = args.size() > 1 ? args[1] : 0;
  for (const KeyCommand& command : kKeyCommands) {
    if (command.key != 0 && command.key == args[0] && command.keyState == keyState) {
      const int button[] = {command.button};
      return ToolbarButtonClicked(button);
    }
  }
  return std::nullopt;
}

forms::HandlerResult ServerListContextMenu(forms::EventArgs args) {
  if (args.size() < 2) {
    return std::nullopt;
  }
  const forms::Control toolbar(forms::MainWindow(), forms::main_control::kToolbar);
  std::vector<Text> captions;
  std::vector<int> buttons;
  const auto definitions = toolbar.Definition().properties.buttons;
  for (std::size_t button = 0; button < definitions.size(); ++button) {
    if (!definitions[button].hidden && definitions[button].caption != nullptr) {
      captions.push_back(MenuCaption(static_cast<int>(button), definitions[button].caption));
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
