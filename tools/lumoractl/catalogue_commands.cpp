// lumoractl catalogue create, list, export, check: a catalogue file made, read and checked.
// Servers are added and listed through the program's own store operations; export and check
// read the file with the engine directly, so they show every column and every table.
#include <cstdio>
#include <optional>
#include <vector>

#include "catalogue/server_store.h"
#include "catalogue/storage_text.h"
#include "catalogue_csv.h"
#include "catalogue_demo.h"
#include "catalogue_notices.h"
#include "command.h"
#include "platform/files.h"
#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/record_set.h"
#include "services/values/field_text.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

int Fail(std::string_view message, std::string_view file) {
  PrintFileError(file, message);
  return kFailed;
}

// Why a file could not be read: the system's reason where it tells one that matters.
Text NotReadable(const jet::OpenReport& report) {
  const Text why = catalogue::FileErrorText(report.error);
  return why == catalogue::storage_text::kNotAFile ? why : Text("not a readable Access database");
}

// Whether the file is damaged beyond the stale row counts Access itself leaves (a file cut short,
// pages that point nowhere): its rows would be shown only in part, so nothing is shown.
bool RefusedAsDamaged(const Text& path) {
  jet::OpenReport opened;
  const std::optional<jet::Database> database = jet::Database::Open(path, true, &opened);
  TellSetAsideJournal(path, StorageReportOf(opened));
  if (!database) {
    return false;  // the caller's own open says what is wrong
  }
  const jet::CheckReport report = database->Check();
  if (report.SafeToWrite()) {
    return false;
  }
  Fail("the catalogue is damaged (" + report.first_damage +
           "); `lumoractl catalogue check` lists what is wrong",
       path);
  return true;
}

// A field for a tab-separated line: tabs, line ends and backslashes spelled as C escapes, so
// every record stays on one line. GBK trail bytes may equal '\', so the walk goes by character.
Text Escaped(std::string_view text) {
  Text escaped;
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t length = GbkCharLength(text, offset);
    if (length == 1) {
      switch (text[offset]) {
        case '\t':
          escaped += "\\t";
          break;
        case '\n':
          escaped += "\\n";
          break;
        case '\r':
          escaped += "\\r";
          break;
        case '\\':
          escaped += "\\\\";
          break;
        default:
          escaped.push_back(text[offset]);
          break;
      }
    } else {
      escaped.append(text.substr(offset, length));
    }
    offset += length;
  }
  return escaped;
}

// Adds the demo servers through the program's add operation, to the file being built.
bool AddDemoServers(const Text& file) {
  services::DBConnection connection;
  if (!connection.OpenAccess(file, "")) {
    return false;
  }
  services::RecordSet records;
  if (!records.SetConnection(connection)) {
    return false;
  }
  for (const catalogue::ServerRecord& server : DemoServers()) {
    if (!catalogue::AddServer(records, server)) {
      return false;
    }
  }
  // Re-opening stores the last pending new row.
  std::vector<catalogue::ServerRecord> servers;
  return catalogue::ListServers(records, servers) && servers.size() == DemoServers().size();
}

int Create(Arguments args) {
  bool demo = false;
  std::optional<std::string_view> file;
  for (const std::string_view arg : args) {
    if (arg == "--demo") {
      demo = true;
    } else if (!file && !arg.starts_with("--")) {
      file = arg;
    } else {
      return UsageError("create takes FILE [--demo]");
    }
  }
  if (!file) {
    return UsageError("create takes FILE [--demo]");
  }
  const Text path(*file);
  if (platform::FileExists(path)) {
    return Fail("exists; not overwritten", path);
  }
  // The demo servers go into the file before it takes its name: a half-filled demo file would
  // only mislead a later run.
  jet::OpenReport report;
  bool filled = true;
  const bool created = jet::Database::Create(
      path,
      [&](const Text& building) {
        filled = !demo || AddDemoServers(building);
        return filled;
      },
      &report);
  TellSetAsideJournal(path, StorageReportOf(report));
  if (!filled) {
    return Fail("the demo servers could not be added; no file left behind", path);
  }
  if (!created) {
    return Fail(catalogue::WithRefusal("cannot be created", StorageReportOf(report)), path);
  }
  return kOk;
}

void PrintServerRows(const std::vector<catalogue::ServerRecord>& servers) {
  for (const catalogue::ServerRecord& server : servers) {
    PrintText(stdout, Escaped(server.server_name) + "\t" + Escaped(server.port) + "\t" +
                          Escaped(server.user_name) + "\t" + Escaped(server.remark) + "\t" +
                          Escaped(server.domain));
  }
}

// The servers as the program's list operation reads them, over an open connection.
std::optional<std::vector<catalogue::ServerRecord>> ListedServers(
    services::DBConnection& connection) {
  services::RecordSet records;
  std::vector<catalogue::ServerRecord> servers;
  if (!records.SetConnection(connection) || !catalogue::ListServers(records, servers)) {
    return std::nullopt;
  }
  return servers;
}

int ListServerRows(const Text& path) {
  if (RefusedAsDamaged(path)) {
    return kFailed;
  }
  services::DBConnection connection;
  const auto servers = connection.OpenAccess(path, "") ? ListedServers(connection) : std::nullopt;
  if (!servers) {
    const Text why = catalogue::FileErrorText(connection.Report().error);
    return Fail(why == catalogue::storage_text::kNotAFile ? why : Text("cannot read table Server"),
                path);
  }
  PrintServerRows(*servers);
  return kOk;
}

// The servers over the given connection string instead of the one for `path`: so a reading
// through ADO can be set beside the built-in engine's.
std::optional<std::vector<catalogue::ServerRecord>> ServersThroughConnection(
    const Text& path, const Text& connection_string) {
  services::DBConnection connection;
  if (!connection.OpenConnectionString(connection_string)) {
    Fail("the connection string opens nothing: " + connection_string, path);
    return std::nullopt;
  }
  auto servers = ListedServers(connection);
  if (!servers) {
    Fail("cannot read table Server through " + connection_string, path);
  }
  return servers;
}

// The Server table's columns as mdb-export writes them; text in quotes, a missing text as
// nothing (the program reads Null and empty text alike).
void PrintServerCsv(const std::vector<catalogue::ServerRecord>& servers) {
  const auto quoted = [](const Text& text) { return text.empty() ? text : CsvQuoted(text); };
  PrintText(stdout, Text(catalogue::kColumnNumber) + "," + catalogue::kColumnServerName + "," +
                        catalogue::kColumnPort + "," + catalogue::kColumnUserName + "," +
                        catalogue::kColumnPassword + "," + catalogue::kColumnDomain + "," +
                        catalogue::kColumnRemark);
  for (const catalogue::ServerRecord& server : servers) {
    PrintText(stdout, server.record_number + "," + quoted(server.server_name) + "," +
                          quoted(server.port) + "," + quoted(server.user_name) + "," +
                          quoted(server.password) + "," + quoted(server.domain) + "," +
                          quoted(server.remark));
  }
}

// FILE [TABLE] [--ado CONNECTION-STRING]; false on anything else.
struct ReadArguments {
  Text file;
  std::optional<Text> table;
  std::optional<Text> connection_string;
};

std::optional<ReadArguments> ParseReadArguments(Arguments args) {
  ReadArguments parsed;
  std::vector<Text> positional;
  for (std::size_t index = 0; index < args.size(); ++index) {
    if (args[index] == "--ado" && index + 1 < args.size() && !parsed.connection_string) {
      parsed.connection_string = Text(args[++index]);
    } else if (args[index].starts_with("--")) {
      return std::nullopt;
    } else {
      positional.emplace_back(args[index]);
    }
  }
  // Through ADO only the servers are read, as the program reads them.
  if (positional.empty() || positional.size() > (parsed.connection_string ? 1u : 2u)) {
    return std::nullopt;
  }
  parsed.file = positional[0];
  if (positional.size() == 2) {
    parsed.table = positional[1];
  }
  return parsed;
}

std::optional<jet::TableReader> OpenTable(const Text& path, const Text& name) {
  jet::OpenReport opened;
  const std::optional<jet::Database> database = jet::Database::Open(path, true, &opened);
  if (!database) {
    Fail(NotReadable(opened), path);
    return std::nullopt;
  }
  std::optional<jet::TableReader> table = database->OpenTable(name);
  if (!table) {
    Fail("no readable table " + name, path);
  }
  return table;
}

int ListTableRows(const Text& path, const Text& name) {
  if (RefusedAsDamaged(path)) {
    return kFailed;
  }
  const std::optional<jet::TableReader> table = OpenTable(path, name);
  if (!table) {
    return kFailed;
  }
  jet::TableReader::Cursor cursor = table->Rows();
  for (values::Row row; cursor.Next(row);) {
    Text line;
    for (std::size_t index = 0; index < row.values.size(); ++index) {
      line += (index == 0 ? "" : "\t") + Escaped(values::FieldToText(row.values[index]));
    }
    PrintText(stdout, line);
  }
  return kOk;
}

// The servers read through the arguments' connection string, printed by `print`.
int PrintServersThroughConnection(const ReadArguments& parsed,
                                  void (*print)(const std::vector<catalogue::ServerRecord>&)) {
  const auto servers = ServersThroughConnection(parsed.file, *parsed.connection_string);
  if (!servers) {
    return kFailed;
  }
  print(*servers);
  return kOk;
}

int List(Arguments args) {
  const std::optional<ReadArguments> parsed = ParseReadArguments(args);
  if (!parsed) {
    return UsageError("list takes FILE [TABLE] or FILE --ado CONNECTION-STRING");
  }
  if (parsed->connection_string) {
    return PrintServersThroughConnection(*parsed, PrintServerRows);
  }
  return parsed->table ? ListTableRows(parsed->file, *parsed->table) : ListServerRows(parsed->file);
}

int Export(Arguments args) {
  const std::optional<ReadArguments> parsed = ParseReadArguments(args);
  if (!parsed) {
    return UsageError("export takes FILE [TABLE] or FILE --ado CONNECTION-STRING");
  }
  if (parsed->connection_string) {
    return PrintServersThroughConnection(*parsed, PrintServerCsv);
  }
  if (RefusedAsDamaged(parsed->file)) {
    return kFailed;
  }
  const std::optional<jet::TableReader> table =
      OpenTable(parsed->file, parsed->table.value_or(Text(catalogue::kServerTable)));
  if (!table) {
    return kFailed;
  }
  PrintText(stdout, CsvHeader(*table));
  jet::TableReader::Cursor cursor = table->Rows();
  for (values::Row row; cursor.Next(row);) {
    PrintText(stdout, CsvRow(*table, row));
  }
  return kOk;
}

int Check(Arguments args) {
  if (args.size() != 1) {
    return UsageError("check takes FILE");
  }
  const Text path(args[0]);
  jet::OpenReport opened;
  const std::optional<jet::Database> database = jet::Database::Open(path, true, &opened);
  TellSetAsideJournal(path, StorageReportOf(opened));
  if (!database) {
    return Fail(NotReadable(opened), path);
  }
  const jet::CheckReport report = database->Check();
  for (const Text& problem : report.problems) {
    PrintText(stdout, problem);
  }
  std::printf("%zu tables, %zu indexes checked: %s\n", report.tables_checked,
              report.indexes_checked, report.Ok() ? "no problems" : "problems found");
  return report.Ok() ? kOk : kFailed;
}

constexpr Command kCommands[] = {
    {"create", "FILE [--demo]",
     "a new, empty catalogue (never over an existing file); --demo: with loopback servers", Create},
    {"list", "FILE [TABLE] | FILE --ado CONNECTION-STRING",
     "servers: name TAB port TAB user TAB remark TAB domain; TABLE: all its columns; --ado: the "
     "servers read through ADO with that connection string (Windows)",
     List},
    {"export", "FILE [TABLE] | FILE --ado CONNECTION-STRING",
     "CSV of every column of Server (or TABLE), as mdb-export; --ado: of Server, read through ADO",
     Export},
    {"check", "FILE", "row counts, usage maps and indexes; exit 1 on any problem", Check},
};

}  // namespace

std::span<const Command> CatalogueCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
