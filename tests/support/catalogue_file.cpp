#include "support/catalogue_file.h"

#include <gtest/gtest.h>

#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/record_set.h"

namespace lumora::testing_support {

bool CreateCatalogue(const Text& path, const std::vector<CatalogueRow>& rows) {
  if (!jet::Database::Create(path)) {
    return false;
  }
  if (rows.empty()) {
    return true;
  }
  std::optional<jet::Database> database = jet::Database::Open(path, false);
  if (!database) {
    return false;
  }
  for (const CatalogueRow& row : rows) {
    if (!database->InsertRow("Server", row)) {
      return false;
    }
  }
  return true;
}

std::vector<catalogue::ServerRecord> StoredServers(const Text& path) {
  services::DBConnection connection;
  services::RecordSet records;
  EXPECT_TRUE(connection.OpenAccess(path, ""));
  records.SetConnection(connection);
  std::vector<catalogue::ServerRecord> servers;
  EXPECT_TRUE(catalogue::ListServers(records, servers));
  return servers;
}

CatalogueRow ServerRow(const Text& name, const Text& port, const Text& user, const Text& password,
                       const Text& remark) {
  auto value = [](const Text& text) -> std::optional<Text> {
    return text.empty() ? std::nullopt : std::optional<Text>(text);
  };
  return {{"服务器名", value(name)}, {"端口", value(port)}, {"用户名", value(user)},
          {"密码", value(password)}, {"域", std::nullopt},  {"备注", value(remark)}};
}

}  // namespace lumora::testing_support
