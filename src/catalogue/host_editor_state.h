// What the editor's commands hand the editor window: which of the two it does, the server a
// modification starts from, and how the main window's list is rebuilt after a change.
#pragma once

#include <functional>

#include "base/text.h"
#include "catalogue/server_store.h"

namespace lumora::catalogue {

struct HostEditorState {
  Text mode;  // "添加主机" or "修改主机"; kept until the next command sets it
  // The current row's server, filled by the modify command; its domain is written back on save.
  ServerRecord prepared;
  // Set by the main window; called after every change the editor makes.
  std::function<void()> refillList;
};

// The program's one editor state: the commands (host_editor.cpp) write it, the window's handlers
// (host_editor_window_events.cpp) read it.
HostEditorState& EditorState();

// Rebuilds the main window's list through EditorState().refillList, when one is set.
void RefillServerList();

}  // namespace lumora::catalogue
