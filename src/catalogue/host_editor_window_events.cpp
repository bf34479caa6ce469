#include "catalogue/host_editor_window_events.h"

#include <utility>

#include "catalogue/host_editor_state.h"
#include "catalogue/main_database.h"
#include "catalogue/server_edit.h"
#include "catalogue/storage_text.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"

namespace lumora::catalogue {
namespace {

using forms::HostEditorWindow;
namespace edit_text = catalogue::edit_text;

constexpr const char* kAddressField = forms::editor_control::kAddress;
constexpr const char* kPortField = forms::editor_control::kPort;
constexpr const char* kUserField = forms::editor_control::kUser;
constexpr const char* kPasswordField = forms::editor_control::kPassword;
constexpr const char* kRemarkField = forms::editor_control::kRemark;
constexpr const char* kSaveButton = forms::editor_control::kSaveButton;

forms::Control Field(const char* name) {
  return forms::Control(HostEditorWindow(), name);
}

void EditorTip(const Text& text) {
  forms::ShowBalloonTip(HostEditorWindow(), text);
}

void ShowResult(const Text& text) {
  forms::ShowMessageBox(text, forms::box::kIconInformation, edit_text::kMessageTitle);
}

void CentreOverMainWindow() {
  const forms::Rect main = forms::WindowRect(forms::MainWindow());
  const forms::Rect own = forms::WindowRect(HostEditorWindow());
  forms::MoveWindowTo(HostEditorWindow(), {main.left + main.width / 2 - own.width / 2,
                                           main.top + main.height / 2 - own.height / 2});
}

// The field a refused entry's tip speaks of.
const char* FaultyField(const Text& tip) {
  const std::pair<const char*, const char*> fields[] = {
      {edit_text::kAddressEmpty, kAddressField},     {edit_text::kAddressWithoutDot, kAddressField},
      {edit_text::kAddressWithPort, kAddressField},  {edit_text::kAddressTooLong, kAddressField},
      {edit_text::kPortEmpty, kPortField},           {edit_text::kPortNotANumber, kPortField},
      {edit_text::kUserEmpty, kUserField},           {edit_text::kUserTooLong, kUserField},
      {edit_text::kPasswordTooLong, kPasswordField}, {edit_text::kRemarkTooLong, kRemarkField},
  };
  for (const auto& [text, field] : fields) {
    if (tip == text) {
      return field;
    }
  }
  return kAddressField;
}

// The focus in a refused entry's field with the text selected for retyping, then its tip, which
// points at that field when the user pressed a key.
void RefuseField(const Text& tip) {
  Field(FaultyField(tip)).Focus(/*selectAll=*/true);
  EditorTip(tip);
}

catalogue::ServerFields TypedFields() {
  return {.address = Field(kAddressField).GetText(),
          .port = Field(kPortField).GetText(),
          .user = Field(kUserField).GetText(),
          .password = Field(kPasswordField).GetText(),
          .remark = Field(kRemarkField).GetText()};
}

void SaveNewServer() {
  forms::Control button = Field(kSaveButton);
  button.SetEnabled(false);
  ReopenIfReadOnly();
  const catalogue::EditOutcome outcome =
      catalogue::AddServerFromFields(MainRecords(), TypedFields());
  if (outcome.result == catalogue::EditResult::kAdded) {
    RefillServerList();
  }
  button.SetEnabled(true);
  if (outcome.result == catalogue::EditResult::kInvalid) {
    RefuseField(outcome.message);
    return;
  }
  if (outcome.result == catalogue::EditResult::kAddFailed) {
    ShowResult(WithReason(outcome.message, MainConnection().Report()));
    return;
  }
  ShowResult(outcome.message);
  // The fields keep the last server to start the next one from: typing replaces the address.
  if (outcome.result == catalogue::EditResult::kAdded) {
    Field(kAddressField).Focus(/*selectAll=*/true);
  }
}

void SaveModifiedServer() {
  forms::Control button = Field(kSaveButton);
  button.SetEnabled(false);
  ReopenIfReadOnly();
  // The row the user chose to modify, by its number: not whichever row has its name now.
  const catalogue::EditOutcome outcome =
      catalogue::ModifyServerFromFields(MainRecords(), EditorState().prepared.record_number,
                                        TypedFields(), EditorState().prepared.domain);
  switch (outcome.result) {
    case catalogue::EditResult::kInvalid:
      button.SetEnabled(true);
      RefuseField(outcome.message);
      break;
    case catalogue::EditResult::kModified:
      RefillServerList();
      button.SetEnabled(true);
      EditorTip(edit_text::kModifiedTip);
      ShowResult(outcome.message);
      forms::CloseWindow(HostEditorWindow());
      break;
    case catalogue::EditResult::kModifyFailed:
      ShowResult(WithReason(outcome.message, MainConnection().Report()));
      button.SetEnabled(true);
      break;
    default:
      ShowResult(outcome.message);
      button.SetEnabled(true);
      break;
  }
}

}  // namespace

forms::HandlerResult HostEditorCreated(forms::EventArgs) {
  CentreOverMainWindow();
  const Text mode = EditorState().mode;
  forms::SetWindowTitle(HostEditorWindow(), mode);
  Field(kSaveButton).SetText(mode);
  EditorTip(mode);
  if (mode == catalogue::kModifyMode) {
    const catalogue::ServerRecord& server = EditorState().prepared;
    Field(kAddressField).SetText(server.server_name);
    Field(kPortField).SetText(server.port);
    Field(kUserField).SetText(server.user_name);
    Field(kPasswordField).SetText(server.password);
    Field(kRemarkField).SetText(server.remark);
  } else {
    Field(kAddressField).SetText("");
    Field(kUserField).SetText(catalogue::kDefaultUser);
  }
  return std::nullopt;
}

forms::HandlerResult SaveButtonClicked(forms::EventArgs) {
  // The title, not a separate flag, tells which of the two the editor is doing.
  const Text title = forms::WindowTitle(HostEditorWindow());
  if (title == catalogue::kAddMode) {
    SaveNewServer();
  } else if (title == catalogue::kModifyMode) {
    SaveModifiedServer();
  }
  return std::nullopt;
}

}  // namespace lumora::catalogue
