// The main window: the server list under the command toolbar.
#pragma once

#include <vector>

#include "base/text.h"
#include "forms/window_definition.h"
#include "forms/window_model.h"

namespace lumora::forms {

const WindowDefinition& MainWindow();
// The names of the main window's controls that other rooms address.
namespace main_control {
inline constexpr char kServerList[] = "超级列表框1";
inline constexpr char kToolbar[] = "工具条1";
}  // namespace main_control

// The server list "超级列表框1" of the main window.
Control ServerList();

// The cells of a server-list row. Only 0 to 6 have columns; 7 and 8 travel with the row unseen.
namespace server_cell {
inline constexpr int kHost = 0;
inline constexpr int kPort = 1;
inline constexpr int kUser = 2;
inline constexpr int kState = 3;  // "在线", "离线", or "未知" where no probe can be made
inline constexpr int kDelay = 4;  // "检测" while probed, then "Nms" or "超时"
inline constexpr int kRemark = 5;
inline constexpr int kLocation = 6;
inline constexpr int kDomain = 7;
// The row's record number: rows are told apart by it, never by their names, which another
// program may have stored twice.
inline constexpr int kRecordNumber = 8;
}  // namespace server_cell

// Shows `text` in the main window's balloon tip at the mouse cursor, without an icon.
void ShowTip(const Text& text);

// Indexes of the rows whose check box is ticked, in ascending order.
std::vector<int> TickedRows(const Control& list);

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
