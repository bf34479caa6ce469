// The server catalogue: table "Server" of the Access file, read and changed through the main
// window's DBConnection and RecordSet. Every value put into a statement has its single quotes
// doubled, so any text (a quote included) is stored and found as it is.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/text.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "services/sql/table_store.h"
#include "services/values/row_supply.h"

namespace lumora::catalogue {

// Table and column names, as the file spells them.
inline constexpr char kServerTable[] = "Server";
inline constexpr char kColumnNumber[] = "编号";
inline constexpr char kColumnServerName[] = "服务器名";
inline constexpr char kColumnPort[] = "端口";
inline constexpr char kColumnUserName[] = "用户名";
inline constexpr char kColumnPassword[] = "密码";
inline constexpr char kColumnDomain[] = "域";
inline constexpr char kColumnRemark[] = "备注";

// One row of the table; all members are texts.
struct ServerRecord {
  Text server_name;
  Text port;
  Text user_name;
  Text password;
  Text domain;
  Text remark;
  // Decimal digits; empty until looked up.
  Text record_number;

  friend bool operator==(const ServerRecord&, const ServerRecord&) = default;
};

// Characters a text column holds (Text(255)).
inline constexpr std::size_t kTextColumnCharacters = 255;

// The table's columns as a new catalogue gets them: a counter for the record number, text
// that allows Null for the rest.
std::vector<services::sql::StoredColumn> ServerTableColumns();

// The statements, each value with its quotes doubled.
Text SelectServerCondition(const Text& name);
Text UpdateServerStatement(const ServerRecord& server);
Text DeleteServersStatement(const Text& name);
Text RecordNumberCondition(const Text& number);

// Whether `text` is a record number: decimal digits only, so that it can stand unquoted.
bool IsRecordNumber(const Text& text);

// Every row in the order the table yields them, with server name, port, user name, remark,
// domain and record number filled in. False (and no rows) when the table cannot be opened.
bool ListServers(services::RecordSet& records, std::vector<ServerRecord>& servers);

// Makes the first row named `name` the current record (or leaves the record set at its end
// when none matches); later GetFieldText calls read from it.
bool SelectServer(services::RecordSet& records, const Text& name);

// Makes the row numbered `number` the current record; false when there is none.
bool SelectServerNumbered(services::RecordSet& records, const Text& number);

// Adds a row; an empty member is stored as Null. When a field is refused nothing is stored.
bool AddServer(services::RecordSet& records, const ServerRecord& server);

// Adds `servers` in one pass over the table, opened once: each row is stored as the next one
// begins and the last when the record set next moves on. Stops at the first row that is refused
// or cannot be stored; returns how many rows were handed on before it. Read the table back to
// learn what reached it.
std::size_t AddServers(services::RecordSet& records, std::span<const ServerRecord> servers);

// Where StoreServers takes its rows from: it fills in the next server (kRow), says there are none
// left (kEnd), or that none of them may be stored (kAbandon).
using ServerSource = std::function<values::RowSupply(ServerRecord& server)>;

// Stores every server `next` gives (an empty member as Null) as one change, after deleting every
// stored server when `replace`: all of it reaches the catalogue or none, a kill or a write failing
// on the way included. Through the engine's bulk write where it has one (the built-in engine),
// else inside a transaction through `records`. How many servers; empty when none were stored.
std::optional<std::size_t> StoreServers(services::DBConnection& connection,
                                        services::RecordSet& records, bool replace,
                                        const ServerSource& next);

// Writes every column but the record number into the row numbered `server.record_number`.
// False when that is not a decimal number or the update fails.
bool UpdateServer(services::RecordSet& records, const ServerRecord& server);

// Deletes every row named `name`.
bool DeleteServers(services::DBConnection& connection, const Text& name);

// Deletes the one row numbered `number`. False when there was no such row or it is still there
// afterwards: a deletion that removes nothing is not a success.
bool DeleteServerNumbered(services::DBConnection& connection, services::RecordSet& records,
                          const Text& number);

}  // namespace lumora::catalogue
