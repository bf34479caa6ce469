// The main window's helpers: balloon messages and the ticked rows of the server list.
#pragma once

#include <vector>

#include "base/text.h"
#include "forms/window_model.h"

namespace lumora::app {

// The cells of a server-list row. Only 0 to 5 have columns; 7 and 8 travel with the row unseen.
namespace server_cell {
inline constexpr int kHost = 0;
inline constexpr int kPort = 1;
inline constexpr int kUser = 2;
inline constexpr int kRemark = 5;
inline constexpr int kLocation = 6;
inline constexpr int kDomain = 7;
// The row's record number: rows are told apart by it, never by their names, which another
// program may have stored twice.
inline constexpr int kRecordNumber = 8;
}  // namespace server_cell

// The server list of the main window.
forms::Control ServerList();

// Shows `text` in the main window's balloon tip at the mouse cursor, without an icon.
void ShowTip(const Text& text);

// Indexes of the rows whose check box is ticked, in ascending order.
std::vector<int> TickedRows(const forms::Control& list);

// The about box of the "使用说明" button.
void ShowAboutBox();

}  // namespace lumora::app
