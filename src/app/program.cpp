#include "app/program.h"

#include "app/login_gate.h"
#include "app/main_window_commands.h"
#include "app/main_window_start.h"
#include "app/server_list.h"
#include "catalogue/host_editor.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "settings/settings_commands.h"

namespace lumora::app {
namespace {

using forms::event::kClicked;
using forms::event::kCreated;

constexpr forms::EventBinding kLoginBindings[] = {
    {nullptr, kCreated, LoginWindowCreated},
    {"按钮_登录", kClicked, LoginButtonClicked},
    {"按钮_启动", kClicked, StartButtonClicked},
};

constexpr forms::EventBinding kMainBindings[] = {
    {nullptr, kCreated, MainWindowCreated},
    {"工具条1", kClicked, ToolbarButtonClicked},
    {"超级列表框1", forms::event::kListLeftClick, ServerListClicked},
    {"超级列表框1", forms::event::kDoubleClick, ServerListDoubleClicked},
    {"超级列表框1", forms::event::kColumnClick, ServerListHeaderClicked},
    {"超级列表框1", forms::event::kKeyDown, ServerListKeyDown},
    {"超级列表框1", forms::event::kContextMenu, ServerListContextMenu},
};

}  // namespace

void RegisterWindows() {
  forms::RegisterWindow(forms::LoginWindow(), kLoginBindings);
  forms::RegisterWindow(forms::MainWindow(), kMainBindings);
  catalogue::RegisterHostEditorWindow();
  catalogue::SetServerListRefill(FillServerList);
  settings::RegisterSettingsWindow();
}

int RunLumora() {
  RegisterWindows();
  forms::LoadWindow(forms::LoginWindow());
  return forms::RunProgram();
}

}  // namespace lumora::app
