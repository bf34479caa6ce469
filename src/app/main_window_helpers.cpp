#include "app/main_window_helpers.h"

#include "forms/main_window.h"

namespace lumora::app {

forms::Control ServerList() {
  return forms::Control(forms::MainWindow(), "超级列表框1");
}

void ShowTip(const Text& text) {
  forms::Control(forms::MainWindow(), "气球提示框1")
      .ShowBalloon(text, forms::System().CursorPosition());
}

std::vector<int> TickedRows(const forms::Control& list) {
  std::vector<int> ticked;
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    if (list.RowChecked(row)) {
      ticked.push_back(row);
    }
  }
  return ticked;
}

void ShowAboutBox() {
  const Text text =
      "       Tarn远程管理系统\r\n"
      "\r\n"
      "  本程序用于网吧﹑服务器管理员等。\r\n"
      "\r\n"
      "方便多计算机用户管理及远程协助使用。\r\n"
      "\r\n"
      "                     请勿非法使用!\r\n"
      "\r\n"
      "              2026年12月  Lumora 开发组\r\n"
      "\r\n";
  forms::ShowMessageBox(text, forms::box::kIconInformation, "关于文档");
}

}  // namespace lumora::app
