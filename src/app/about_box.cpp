#include "app/about_box.h"

#include "forms/window_model.h"

namespace lumora::app {

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
