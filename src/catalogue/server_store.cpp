#include "catalogue/server_store.h"

#include <algorithm>

#include "services/sql/literal.h"
#include "services/values/column_type.h"

namespace lumora::catalogue {
namespace {

using services::RecordSet;
using services::sql::EscapeTextLiteral;

// Text(255): 255 characters of two bytes each.
constexpr std::uint16_t kTextColumnBytes = 510;

bool SetServerFields(RecordSet& records, const ServerRecord& server) {
  const std::pair<const char*, const Text*> fields[] = {
      {kColumnServerName, &server.server_name}, {kColumnPort, &server.port},
      {kColumnUserName, &server.user_name},     {kColumnPassword, &server.password},
      {kColumnDomain, &server.domain},          {kColumnRemark, &server.remark}};
  for (const auto& [column, value] : fields) {
    // A refused field drops the whole row: a row missing its name (and holding the password)
    // could then be neither found nor deleted.
    if (!records.SetFieldText(column, *value)) {
      records.CancelUpdate();
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsRecordNumber(const Text& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<services::sql::StoredColumn> ServerTableColumns() {
  using services::sql::StoredColumn;
  const auto text = [](const char* name) {
    return StoredColumn{
        .name = name, .type = values::ColumnType::kText, .length = kTextColumnBytes};
  };
  return {StoredColumn{.name = kColumnNumber,
                       .type = values::ColumnType::kLong,
                       .length = 4,
                       .nullable = false,
                       .auto_number = true},
          text(kColumnServerName),
          text(kColumnPort),
          text(kColumnUserName),
          text(kColumnPassword),
          text(kColumnDomain),
          text(kColumnRemark)};
}

Text SelectServerCondition(const Text& name) {
  return Text(kColumnServerName) + "='" + EscapeTextLiteral(name) + "'";
}

Text UpdateServerStatement(const ServerRecord& server) {
  return "update Server set 服务器名='" + EscapeTextLiteral(server.server_name) + "',端口='" +
         EscapeTextLiteral(server.port) + "',用户名='" + EscapeTextLiteral(server.user_name) +
         "',密码='" + EscapeTextLiteral(server.password) + "',域='" +
         EscapeTextLiteral(server.domain) + "',备注='" + EscapeTextLiteral(server.remark) +
         "' where 编号=" + server.record_number;
}

Text DeleteServersStatement(const Text& name) {
  return "delete from Server where 服务器名='" + EscapeTextLiteral(name) + "'";
}

Text RecordNumberCondition(const Text& number) {
  return Text(kColumnNumber) + "=" + number;
}

bool ListServers(RecordSet& records, std::vector<ServerRecord>& servers) {
  servers.clear();
  if (!records.Open(kServerTable, RecordSet::kSourceTable)) {
    return false;
  }
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index) {
    ServerRecord server;
    records.GetFieldText(kColumnServerName, server.server_name);
    records.GetFieldText(kColumnPort, server.port);
    records.GetFieldText(kColumnUserName, server.user_name);
    records.GetFieldText(kColumnRemark, server.remark);
    records.GetFieldText(kColumnDomain, server.domain);
    records.GetFieldText(kColumnNumber, server.record_number);
    servers.push_back(std::move(server));
    records.MoveNext();
  }
  return true;
}

bool SelectServer(RecordSet& records, const Text& name) {
  return records.OpenWhere(kServerTable, SelectServerCondition(name));
}

bool SelectServerNumbered(RecordSet& records, const Text& number) {
  return IsRecordNumber(number) && records.OpenWhere(kServerTable, RecordNumberCondition(number)) &&
         records.RecordCount() > 0;
}

bool AddServer(RecordSet& records, const ServerRecord& server) {
  return records.Open(kServerTable, RecordSet::kSourceTable) && records.AddNew() &&
         SetServerFields(records, server);
}

std::size_t AddServers(RecordSet& records, std::span<const ServerRecord> servers) {
  if (!records.Open(kServerTable, RecordSet::kSourceTable)) {
    return 0;
  }
  for (std::size_t index = 0; index < servers.size(); ++index) {
    // AddNew stores the row before it: when that fails, the rows before it are what was handed on.
    if (!records.AddNew()) {
      return index == 0 ? 0 : index - 1;
    }
    if (!SetServerFields(records, servers[index])) {
      return index;
    }
  }
  return servers.size();
}

std::optional<std::size_t> StoreServers(services::DBConnection& connection, RecordSet& records,
                                        bool replace, const ServerSource& next) {
  if (connection.CanStoreRows()) {
    ServerRecord server;
    return connection.StoreRows(kServerTable, replace, [&](services::FieldValues& row) {
      server = ServerRecord();
      const values::RowSupply supply = next(server);
      if (supply == values::RowSupply::kRow) {
        const auto value = [](const Text& text) {
          return text.empty() ? std::nullopt : std::optional<Text>(text);
        };
        row = {{kColumnServerName, value(server.server_name)},
               {kColumnPort, value(server.port)},
               {kColumnUserName, value(server.user_name)},
               {kColumnPassword, value(server.password)},
               {kColumnDomain, value(server.domain)},
               {kColumnRemark, value(server.remark)}};
      }
      return supply;
    });
  }
  if (!connection.BeginTransaction()) {
    return std::nullopt;
  }
  std::size_t stored = 0;
  bool whole = (!replace || connection.Execute(std::string("delete from ") + kServerTable)) &&
               records.Open(kServerTable, RecordSet::kSourceTable);
  for (ServerRecord server; whole;) {
    const values::RowSupply supply = next(server);
    if (supply != values::RowSupply::kRow) {
      whole = supply == values::RowSupply::kEnd;
      break;
    }
    whole = records.AddNew() && SetServerFields(records, server);
    stored += whole ? 1 : 0;
    server = ServerRecord();
  }
  // Closing the record set stores the last new row.
  whole = whole && records.Open(kServerTable, RecordSet::kSourceTable);
  if (!whole || !connection.CommitTransaction()) {
    connection.RollbackTransaction();
    return std::nullopt;
  }
  return stored;
}

bool UpdateServer(RecordSet& records, const ServerRecord& server) {
  // The number goes into the statement unquoted: anything but digits would change its meaning.
  if (!IsRecordNumber(server.record_number)) {
    return false;
  }
  return records.Open(UpdateServerStatement(server), RecordSet::kSourceText);
}

bool DeleteServers(services::DBConnection& connection, const Text& name) {
  return connection.Execute(DeleteServersStatement(name));
}

bool DeleteServerNumbered(services::DBConnection& connection, RecordSet& records,
                          const Text& number) {
  if (!SelectServerNumbered(records, number)) {
    return false;
  }
  return connection.Execute("delete from Server where " + RecordNumberCondition(number)) &&
         !SelectServerNumbered(records, number);
}

}  // namespace lumora::catalogue
