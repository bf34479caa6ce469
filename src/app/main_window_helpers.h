// The main window's helpers: balloon messages and the ticked rows of the server list.
#pragma once

#include <vector>

#include "base/text.h"
#include "forms/window_model.h"

namespace lumora::app {

// The server list of the main window.
forms::Control ServerList();

// Shows `text` in the main window's balloon tip at the mouse cursor, without an icon.
void ShowTip(const Text& text);

// Indexes of the rows whose check box is ticked, in ascending order.
std::vector<int> TickedRows(const forms::Control& list);

// The about box of the "使用说明" button.
void ShowAboutBox();

}  // namespace lumora::app
