#include "app/connect_command.h"

#include "app/main_window_helpers.h"
#include "forms/window_model.h"

namespace lumora::app {

void ConnectCommand() {
  const forms::Control list = ServerList();
  if (list.RowCount() == 0) {
    ShowTip("服务器列表是空的!");
    return;
  }
  if (list.CurrentRow() == -1) {
    ShowTip("请选择要连接的服务器！");
    return;
  }
}

void ClearHistoryCommand() {}

}  // namespace lumora::app
