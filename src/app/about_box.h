// The about box of the main window's "使用说明" button.
#pragma once

namespace lumora::app {

void ShowAboutBox();

}  // namespace lumora::app
