#include "app/host_editor.h"

#include <vector>

#include "app/host_editor_window_events.h"
#include "app/main_database.h"
#include "app/main_window_helpers.h"
#include "app/server_list.h"
#include "catalogue/server_edit.h"
#include "forms/host_editor_window.h"
#include "forms/window_model.h"

namespace lumora::app {
namespace {

namespace edit_text = catalogue::edit_text;

constexpr int kHostCell = 0;
constexpr int kPortCell = 1;
constexpr int kUserCell = 2;
constexpr int kRemarkCell = 5;
constexpr int kDomainCell = 7;

constexpr forms::EventBinding kEditorBindings[] = {
    {nullptr, forms::event::kCreated, HostEditorCreated},
    {"按钮_编辑", forms::event::kClicked, SaveButtonClicked},
};

bool UserSaysYes(int count) {
  return forms::ShowMessageBox(catalogue::DeleteQuestion(count),
                               forms::box::kYesNo | forms::box::kIconExclamation,
                               edit_text::kDeleteTitle) == forms::box::kAnswerYes;
}

}  // namespace

void RegisterHostEditorWindow() {
  forms::RegisterWindow(forms::HostEditorWindow(), kEditorBindings);
}

void AddServerCommand() {
  EditorMode() = catalogue::kAddMode;
  forms::LoadWindow(forms::HostEditorWindow(), /*modal=*/true);
}

void ModifyServerCommand() {
  const forms::Control list = ServerList();
  if (list.RowCount() == 0) {
    ShowTip(edit_text::kListEmpty);
    return;
  }
  const int row = list.CurrentRow();
  if (row == -1) {
    ShowTip(edit_text::kNothingToModify);
    return;
  }
  // The password is not in the list; it comes from the row's record (the one whose name
  // matches exactly, not one Jet finds equal by ignoring letter case).
  const Text name = list.CellText(row, kHostCell);
  const std::optional<catalogue::ServerRecord> stored = catalogue::FindServer(MainRecords(), name);
  EditorMode() = catalogue::kModifyMode;
  PreparedServer() = {.server_name = name,
                      .port = list.CellText(row, kPortCell),
                      .user_name = list.CellText(row, kUserCell),
                      .password = stored ? stored->password : Text(),
                      .domain = list.CellText(row, kDomainCell),
                      .remark = list.CellText(row, kRemarkCell)};
  forms::LoadWindow(forms::HostEditorWindow(), /*modal=*/true);
}

void DeleteServersCommand() {
  const forms::Control list = ServerList();
  if (list.RowCount() == 0) {
    ShowTip(edit_text::kListEmpty);
    return;
  }
  const std::vector<int> ticked = TickedRows(list);
  if (ticked.empty()) {
    ShowTip(edit_text::kNothingToDelete);
    return;
  }
  if (!UserSaysYes(static_cast<int>(ticked.size()))) {
    return;
  }
  std::vector<Text> names;
  for (const int row : ticked) {
    names.push_back(list.CellText(row, kHostCell));
  }
  const catalogue::DeleteOutcome outcome = catalogue::DeleteServersNamed(
      MainConnection(), names, [] { forms::System().ProcessPendingMessages(); });
  // Refilled on failure too: rows deleted before it are gone from the table and must not stay
  // on show.
  FillServerList();
  ShowTip(outcome.complete ? edit_text::kDeleted : edit_text::kDeleteFailed);
}

}  // namespace lumora::app
