#include "catalogue/host_editor_state.h"

namespace lumora::catalogue {

HostEditorState& EditorState() {
  static HostEditorState state;
  return state;
}

void RefillServerList() {
  if (EditorState().refillList) {
    EditorState().refillList();
  }
}

}  // namespace lumora::catalogue
