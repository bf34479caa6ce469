#include "app/host_editor.h"

#include <vector>

#include "app/host_editor_window_events.h"
#include "app/main_database.h"
#include "app/main_window_helpers.h"
#include "app/server_list.h"
#include "catalogue/server_edit.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"

namespace lumora::app {
namespace {

namespace edit_text = catalogue::edit_text;

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
  // The password is not in the list; it comes from the row's own record, found by its number
  // (a name may be stored twice, or differ from another only in letter case, which Jet ignores).
  const Text number = list.CellText(row, server_cell::kRecordNumber);
  const std::optional<catalogue::ServerRecord> stored =
      catalogue::FindServerNumbered(MainRecords(), number);
  EditorMode() = catalogue::kModifyMode;
  PreparedServer() = {.server_name = list.CellText(row, server_cell::kHost),
                      .port = list.CellText(row, server_cell::kPort),
                      .user_name = list.CellText(row, server_cell::kUser),
                      .password = stored ? stored->password : Text(),
                      .domain = list.CellText(row, server_cell::kDomain),
                      .remark = list.CellText(row, server_cell::kRemark),
                      .record_number = number};
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
  std::vector<Text> numbers;
  for (const int row : ticked) {
    numbers.push_back(list.CellText(row, server_cell::kRecordNumber));
  }
  // Messages are let through between deletions; the main window takes no input meanwhile, so
  // that it cannot be closed under the loop.
  forms::System().SetFrameEnabled(forms::MainWindow(), false);
  const catalogue::DeleteOutcome outcome = catalogue::DeleteServersNumbered(
      MainConnection(), MainRecords(), numbers, [] { forms::System().ProcessPendingMessages(); });
  if (!forms::IsLoaded(forms::MainWindow())) {
    return;  // closed all the same (the system ending the session): nothing left to show
  }
  forms::System().SetFrameEnabled(forms::MainWindow(), true);
  // Refilled on failure too: rows deleted before it are gone from the table and must not stay
  // on show.
  FillServerList();
  ShowTip(outcome.complete ? edit_text::kDeleted : edit_text::kDeleteFailed);
}

}  // namespace lumora::app
