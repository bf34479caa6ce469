#include "catalogue/host_editor.h"

#include <vector>

#include "catalogue/host_editor_state.h"
#include "catalogue/host_editor_window_events.h"
#include "catalogue/main_database.h"
#include "catalogue/server_edit.h"
#include "catalogue/storage_text.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"

namespace lumora::catalogue {
namespace {

namespace edit_text = catalogue::edit_text;

constexpr forms::EventBinding kEditorBindings[] = {
    {nullptr, forms::event::kCreated, HostEditorCreated},
    {forms::editor_control::kSaveButton, forms::event::kClicked, SaveButtonClicked},
};

bool UserSaysYes(int count) {
  return forms::ShowMessageBox(catalogue::DeleteQuestion(count),
                               forms::box::kYesNo | forms::box::kIconExclamation,
                               edit_text::kDeleteTitle) == forms::box::kAnswerYes;
}

}  // namespace

void SetServerListRefill(std::function<void()> refill) {
  EditorState().refillList = std::move(refill);
}

void RegisterHostEditorWindow() {
  forms::RegisterWindow(forms::HostEditorWindow(), kEditorBindings);
}

// A catalogue that takes no change says so before the user types anything (and is tried once
// more, in case the file was put right meanwhile).
bool CatalogueTakesChanges() {
  if (CatalogueRefusal().empty()) {
    return true;
  }
  if (OpenMainDatabase()) {
    RefillServerList();
    return true;
  }
  forms::ShowMessageBox(CatalogueRefusal(), forms::box::kIconExclamation, edit_text::kMessageTitle);
  return false;
}

void AddServerCommand() {
  if (!CatalogueTakesChanges()) {
    return;
  }
  EditorState().mode = catalogue::kAddMode;
  forms::LoadWindow(forms::HostEditorWindow(), /*modal=*/true);
}

void ModifyServerCommand() {
  if (!CatalogueTakesChanges()) {
    return;
  }
  const forms::Control list = forms::ServerList();
  if (list.RowCount() == 0) {
    forms::ShowTip(edit_text::kListEmpty);
    return;
  }
  const int row = list.CurrentRow();
  if (row == -1) {
    forms::ShowTip(edit_text::kNothingToModify);
    return;
  }
  // The password is not in the list; it comes from the row's own record, found by its number
  // (a name may be stored twice, or differ from another only in letter case, which Jet ignores).
  const Text number = list.CellText(row, forms::server_cell::kRecordNumber);
  const std::optional<catalogue::ServerRecord> stored =
      catalogue::FindServerNumbered(MainRecords(), number);
  EditorState().mode = catalogue::kModifyMode;
  EditorState().prepared = {.server_name = list.CellText(row, forms::server_cell::kHost),
                            .port = list.CellText(row, forms::server_cell::kPort),
                            .user_name = list.CellText(row, forms::server_cell::kUser),
                            .password = stored ? stored->password : Text(),
                            .domain = list.CellText(row, forms::server_cell::kDomain),
                            .remark = list.CellText(row, forms::server_cell::kRemark),
                            .record_number = number};
  forms::LoadWindow(forms::HostEditorWindow(), /*modal=*/true);
}

void DeleteServersCommand() {
  if (!CatalogueTakesChanges()) {
    return;
  }
  const forms::Control list = forms::ServerList();
  if (list.RowCount() == 0) {
    forms::ShowTip(edit_text::kListEmpty);
    return;
  }
  const std::vector<int> ticked = forms::TickedRows(list);
  if (ticked.empty()) {
    forms::ShowTip(edit_text::kNothingToDelete);
    return;
  }
  if (!UserSaysYes(static_cast<int>(ticked.size()))) {
    return;
  }
  std::vector<Text> numbers;
  numbers.reserve(ticked.size());
  for (const int row : ticked) {
    numbers.push_back(list.CellText(row, forms::server_cell::kRecordNumber));
  }
  // Messages are let through between deletions; the main window takes no input meanwhile, so
  // that it cannot be closed under the loop.
  forms::System().SetFrameEnabled(forms::MainWindow(), false);
  ReopenIfReadOnly();
  const catalogue::DeleteOutcome outcome = catalogue::DeleteServersNumbered(
      MainConnection(), MainRecords(), numbers, [] { forms::System().ProcessPendingMessages(); });
  if (!forms::IsLoaded(forms::MainWindow())) {
    return;  // closed all the same (the system ending the session): nothing left to show
  }
  forms::System().SetFrameEnabled(forms::MainWindow(), true);
  // Refilled on failure too: rows deleted before it are gone from the table and must not stay
  // on show.
  RefillServerList();
  forms::ShowTip(outcome.complete
                     ? Text(edit_text::kDeleted)
                     : WithReason(edit_text::kDeleteFailed, MainConnection().Report()));
}

}  // namespace lumora::catalogue
