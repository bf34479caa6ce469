#include "app/main_window_start.h"

#include "app/server_list.h"
#include "catalogue/main_database.h"
#include "catalogue/storage_text.h"
#include "forms/window_model.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"

namespace lumora::app {

forms::HandlerResult MainWindowCreated(forms::EventArgs) {
  if (!platform::FileExists(ProgramFile("mstsc.mdb"))) {
    // Where it was looked for, and what to do, in the style of the other catalogue boxes.
    forms::ShowMessageBox(
        "数据文件不存在,无法使用本软件!\r\n\r\n找不到：" + ProgramFile("mstsc.mdb") +
            "\r\n请把服务器数据文件mstsc.mdb放到程序所在的文件夹，然后重新启动本软件。",
        forms::box::kIconExclamation, "提示信息!");
    forms::EndProgram(0);
    return std::nullopt;
  }
  // An existing settings file is left as it is, whatever keys it lacks.
  if (!platform::FileExists(settings::SettingsFile())) {
    settings::WriteDefaults();
  }
  const bool opened = catalogue::OpenMainDatabase();
  const services::StorageReport report = catalogue::MainDatabaseReport();
  if (const Text notice = catalogue::JournalSetAsideText(report); !notice.empty()) {
    forms::ShowMessageBox(notice, forms::box::kIconExclamation, "提示信息!");
  }
  const Text why = catalogue::StorageProblemText(report);
  if (!opened) {
    forms::ShowMessageBox(
        report.error == platform::FileError::kNotAFile
            ? Text("数据文件mstsc.mdb无法打开：") + why + "。"
            : Text("数据文件mstsc.mdb无法打开：它可能已损坏、不是Access数据库，或正被其他程序独占"
                   "使用。"),
        forms::box::kIconExclamation, "提示信息!");
  } else if (catalogue::MainConnection().ReadOnly()) {
    // Said before the user types a server in, not after the add fails.
    forms::ShowMessageBox(
        "数据文件mstsc.mdb现在只能查看，添加、修改和删除服务器都不会保存：" +
            (why.empty() ? Text("它正被其他程序使用、是只读文件，或已损坏") : why) + "。",
        forms::box::kIconExclamation, "提示信息!");
  }
  ResetServerListOrder();
  FillServerList();
  return std::nullopt;
}

}  // namespace lumora::app
