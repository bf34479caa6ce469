#include "app/main_window_start.h"

#include "app/server_list.h"
#include "forms/window_model.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"

namespace lumora::app {

forms::HandlerResult MainWindowCreated(forms::EventArgs) {
  if (!platform::FileExists(ProgramFile("mstsc.mdb"))) {
    forms::ShowMessageBox("数据文件不存在,无法使用本软件!");
    forms::EndProgram(0);
    return std::nullopt;
  }
  // An existing settings file is left as it is, whatever keys it lacks.
  if (!platform::FileExists(settings::SettingsFile())) {
    settings::WriteDefaults();
  }
  FillServerList();
  return std::nullopt;
}

}  // namespace lumora::app
