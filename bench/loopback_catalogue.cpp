#include "loopback_catalogue.h"

#include <optional>
#include <string>
#include <vector>

#include "services/jet/database.h"

namespace lumora::bench {

Text LoopbackHost(int i) {
  return "127." + std::to_string(i / 65536 % 256) + "." + std::to_string(i / 256 % 256) + "." +
         std::to_string(i % 256 + (i % 256 == 0 ? 1 : 0));
}

bool MakeLoopbackCatalogue(const Text& path, int count) {
  std::vector<Text> hosts;
  for (int i = 0; i < count; ++i) {
    hosts.push_back(LoopbackHost(i));
  }
  return MakeCatalogue(path, hosts);
}

bool MakeCatalogue(const Text& path, const std::vector<Text>& hosts) {
  if (!jet::Database::Create(path)) {
    return false;
  }
  std::optional<jet::Database> database = jet::Database::Open(path, false);
  if (!database) {
    return false;
  }
  for (std::size_t i = 0; i < hosts.size(); ++i) {
    const jet::RowValues row = {
        {"服务器名", hosts[i]},
        {"端口", "3389"},
        {"用户名", "administrator"},
        {"密码", "secret"},
        {"域", i % 3 == 0 ? std::optional<Text>("WORKGROUP") : std::nullopt},
        {"备注", "机房服务器 " + std::to_string(i)}};
    if (!database->InsertRow("Server", row)) {
      return false;
    }
  }
  return true;
}

}  // namespace lumora::bench
