// The main window: the server list under the command toolbar.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& MainWindow();

// Toolbar button indexes of the main window, in button order.
namespace main_toolbar {
inline constexpr int kConnect = 0;
inline constexpr int kAdd = 1;
inline constexpr int kModify = 2;
inline constexpr int kDelete = 3;
inline constexpr int kRefresh = 4;
inline constexpr int kImport = 5;
inline constexpr int kBlank = 6;
inline constexpr int kSettings = 7;
inline constexpr int kClearHistory = 8;
inline constexpr int kAbout = 9;
inline constexpr int kExit = 10;
}  // namespace main_toolbar

}  // namespace lumora::forms
