// GUI tests that drive the program's own windows as a user would: toolbar buttons, modal windows
// worked from the user's thread, the host editor's fields and the tip after a command.
#pragma once

#include <windows.h>

#include <string>

#include "forms/window_definition.h"
#include "gui_fixture.h"
#include "user_thread.h"

namespace lumora::gui_tests {

class ProgramGuiTest : public GuiTest {
 protected:
  // --- on the user-interface thread ---

  void ClickToolbarButton(int index);
  // Double-clicks a row of the server list, through the queue.
  void DoubleClickRow(int row);

  // Opens a modal window from the toolbar and lets messages run until `user` has finished with
  // it and it is gone.
  void RunModal(int toolbarButton, const forms::WindowDefinition& window, UserThread& user);

  // Joins the user's thread while this thread keeps answering the messages it sends; every wait
  // of the user's is bounded, so this ends.
  void FinishWhilePumping(UserThread& user);

  // Until no reachability pass runs.
  void WaitForQuietList();

  // The tip shown after a command, once it is visible.
  std::wstring TipText();

  // --- from the user's own thread while a modal loop runs ---

  // A control of a loaded window, looked up from the user's thread (the backend carries the call
  // over to the user-interface thread).
  HWND Live(const forms::WindowDefinition& window, const char* control);

  // A modal window once it is shown and has taken the input from the main window; null when it
  // does not come. Found by its handle rather than its caption, so that a script can always close
  // what it opened and the modal loop on the other thread ends.
  HWND WaitForModal(const forms::WindowDefinition& window);

  // Fills the host editor's fields; the user name only when one is given.
  void TypeServer(const wchar_t* address, const wchar_t* port, const wchar_t* password,
                  const wchar_t* remark, const wchar_t* user = nullptr);
};

}  // namespace lumora::gui_tests
