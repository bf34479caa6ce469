#include "catalogue_demo.h"

namespace lumora::ctl {

std::vector<catalogue::ServerRecord> DemoServers() {
  using catalogue::ServerRecord;
  return {
      ServerRecord{.server_name = "127.0.0.1",
                   .port = "3389",
                   .user_name = "administrator",
                   .password = "demo-1",
                   .remark = "本机演示服务器"},
      ServerRecord{.server_name = "127.0.0.2",
                   .port = "3389",
                   .user_name = "运维",
                   .password = "demo-2",
                   .remark = "网吧收银台"},
      ServerRecord{.server_name = "127.0.0.3",
                   .port = "3390",
                   .user_name = "backup",
                   .password = "demo-3",
                   .domain = "WORKGROUP",
                   .remark = "备份服务器（夜间同步）"},
      ServerRecord{.server_name = "127.0.0.4",
                   .port = "13389",
                   .user_name = "管理员",
                   .password = "demo-4",
                   .remark = "机房二号机柜"},
      ServerRecord{.server_name = "127.0.0.5",
                   .port = "3389",
                   .user_name = "test",
                   .password = "",
                   .remark = "测试用，无密码"},
  };
}

}  // namespace lumora::ctl
