// lumoractl catalogue import FILE CSV: servers in bulk from the columns `catalogue export`
// writes, each row through the host editor's checks, all rows stored in one pass over the
// catalogue opened once.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/server_edit.h"
#include "catalogue/server_store.h"
#include "command.h"
#include "csv_reader.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

using catalogue::ServerRecord;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

struct ImportArguments {
  Text file;
  std::string csv;
  bool replace = false;
  bool skipBad = false;
};

std::optional<ImportArguments> ParseImportArguments(Arguments args) {
  ImportArguments parsed;
  std::vector<std::string_view> files;
  for (const std::string_view word : args) {
    if (word == "--replace") {
      parsed.replace = true;
    } else if (word == "--skip-bad") {
      parsed.skipBad = true;
    } else if (word.starts_with("--")) {
      return std::nullopt;
    } else {
      files.push_back(word);
    }
  }
  if (files.size() != 2) {
    return std::nullopt;
  }
  parsed.file = Text(files[0]);
  parsed.csv = std::string(files[1]);
  return parsed;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    return std::nullopt;
  }
  return bytes;
}

// The CSV as GBK: UTF-8 after a byte-order mark; otherwise the encoding --encoding named, or
// UTF-8 when the bytes are well-formed UTF-8 and GBK when they are not.
std::optional<Text> CsvAsGbk(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) {
    return ToGbk(bytes.substr(3), Encoding::kUtf8);
  }
  if (const std::optional<Encoding> chosen = ChosenEncoding()) {
    return ToGbk(bytes, *chosen);
  }
  return ToGbk(bytes, IsUtf8(bytes) ? Encoding::kUtf8 : Encoding::kGbk);
}

// Where each known column stands in the CSV's header; the record number, if there, is left to
// the catalogue, which numbers new rows itself.
struct ColumnPlaces {
  std::map<std::string, std::size_t> places;
  std::optional<std::size_t> Of(const char* column) const {
    const auto found = places.find(column);
    return found == places.end() ? std::nullopt : std::optional(found->second);
  }
};

std::optional<ColumnPlaces> ReadHeader(const CsvRecord& header) {
  static const std::set<std::string> known = {
      catalogue::kColumnNumber,   catalogue::kColumnServerName, catalogue::kColumnPort,
      catalogue::kColumnUserName, catalogue::kColumnPassword,   catalogue::kColumnDomain,
      catalogue::kColumnRemark};
  ColumnPlaces columns;
  for (std::size_t index = 0; index < header.fields.size(); ++index) {
    const std::string& name = header.fields[index];
    if (!known.contains(name) || !columns.places.emplace(name, index).second) {
      PrintError("CSV line 1: unknown or repeated column \"" + name + "\"");
      return std::nullopt;
    }
  }
  if (!columns.Of(catalogue::kColumnServerName)) {
    PrintError(std::string("CSV line 1: no column \"") + catalogue::kColumnServerName + "\"");
    return std::nullopt;
  }
  return columns;
}

struct Refusal {
  int line;
  Text reason;
};

// The row as the editor would store it, or why it is refused. `seen` holds the keys
// (AsciiLowerCase) of the names stored or taken by earlier rows.
std::optional<ServerRecord> CheckRow(const CsvRecord& record, const ColumnPlaces& columns,
                                     std::set<Text>& seen, std::vector<Refusal>& refusals) {
  if (record.fields.size() != columns.places.size()) {
    refusals.push_back({record.line, std::to_string(columns.places.size()) + " fields expected, " +
                                         std::to_string(record.fields.size()) + " found"});
    return std::nullopt;
  }
  auto field = [&](const char* column, const char* absent) -> Text {
    const std::optional<std::size_t> place = columns.Of(column);
    return place ? record.fields[*place] : Text(absent);
  };
  const catalogue::ServerFields fields =
      catalogue::CleanFields({.address = field(catalogue::kColumnServerName, ""),
                              .port = field(catalogue::kColumnPort, "3389"),
                              .user = field(catalogue::kColumnUserName, catalogue::kDefaultUser),
                              .password = field(catalogue::kColumnPassword, ""),
                              .remark = field(catalogue::kColumnRemark, "")});
  const Text domain = field(catalogue::kColumnDomain, "");
  Text problem = catalogue::FieldProblem(fields);
  if (problem.empty() && GbkCharCount(domain) > catalogue::kTextColumnCharacters) {
    problem = "the domain is longer than 255 characters";
  }
  if (problem.empty() && !seen.insert(AsciiLowerCase(fields.address)).second) {
    problem = catalogue::edit_text::kDuplicate;
  }
  if (!problem.empty()) {
    refusals.push_back({record.line, std::move(problem)});
    return std::nullopt;
  }
  return ServerRecord{.server_name = fields.address,
                      .port = fields.port,
                      .user_name = fields.user,
                      .password = fields.password,
                      .domain = domain,
                      .remark = fields.remark};
}

int Import(Arguments args) {
  const std::optional<ImportArguments> parsed = ParseImportArguments(args);
  if (!parsed) {
    return UsageError("import takes FILE CSV [--replace] [--skip-bad]");
  }
  const std::optional<std::string> bytes = ReadWholeFile(parsed->csv);
  if (!bytes) {
    PrintError(parsed->csv + ": cannot be read");
    return kFailed;
  }
  const std::optional<Text> text = CsvAsGbk(*bytes);
  if (!text) {
    PrintError(parsed->csv + ": not UTF-8 or GBK text, or a character GBK cannot hold");
    return kFailed;
  }
  const CsvReadResult csv = ReadCsv(*text);
  if (csv.unclosedQuoteLine) {
    PrintError("CSV line " + std::to_string(*csv.unclosedQuoteLine) +
               ": a quoted field is not closed");
    return kFailed;
  }
  if (csv.records.empty()) {
    PrintError(parsed->csv + ": no header line");
    return kFailed;
  }
  const std::optional<ColumnPlaces> columns = ReadHeader(csv.records.front());
  if (!columns) {
    return kFailed;
  }

  services::DBConnection connection;
  services::RecordSet records;
  std::vector<ServerRecord> stored;
  if (!connection.OpenAccess(parsed->file, "") || !records.SetConnection(connection) ||
      !catalogue::ListServers(records, stored)) {
    PrintError(parsed->file + ": cannot open the catalogue");
    return kFailed;
  }
  std::set<Text> seen;
  if (!parsed->replace) {
    for (const ServerRecord& server : stored) {
      seen.insert(AsciiLowerCase(server.server_name));
    }
  }
  std::vector<ServerRecord> servers;
  std::vector<Refusal> refusals;
  for (auto record = csv.records.begin() + 1; record != csv.records.end(); ++record) {
    if (std::optional<ServerRecord> server = CheckRow(*record, *columns, seen, refusals)) {
      servers.push_back(std::move(*server));
    }
  }
  for (const Refusal& refusal : refusals) {
    PrintError("CSV line " + std::to_string(refusal.line) + ": " + refusal.reason);
  }
  if (!refusals.empty() && !parsed->skipBad) {
    PrintError(std::to_string(refusals.size()) +
               " rows refused; nothing imported (--skip-bad imports the others)");
    return kFailed;
  }

  if (parsed->replace && !stored.empty() &&
      !connection.Execute(std::string("DELETE FROM ") + catalogue::kServerTable)) {
    PrintError(parsed->file + ": the stored servers could not be deleted; nothing imported");
    return kFailed;
  }
  catalogue::AddServers(records, servers);
  // What reached the table is read back, not assumed.
  std::vector<ServerRecord> after;
  catalogue::ListServers(records, after);
  std::set<Text> present;
  for (const ServerRecord& server : after) {
    present.insert(server.server_name);
  }
  const auto imported = std::count_if(servers.begin(), servers.end(), [&](const auto& server) {
    return present.contains(server.server_name);
  });
  if (imported != static_cast<std::ptrdiff_t>(servers.size())) {
    PrintError(std::string(catalogue::edit_text::kAddFailed) + " " + std::to_string(imported) +
               " of " + std::to_string(servers.size()) + " rows stored");
    return kFailed;
  }
  PrintText(stdout,
            std::to_string(imported) + " servers imported" +
                (refusals.empty() ? "" : ", " + std::to_string(refusals.size()) + " rows skipped"));
  return kOk;
}

constexpr Command kCommands[] = {
    {"import", "FILE CSV [--replace] [--skip-bad]",
     "adds the servers of a CSV laid out as export writes it (UTF-8 with or without BOM, or "
     "GBK), each through the host editor's checks; refused rows are listed and nothing is "
     "stored unless --skip-bad; --replace deletes the stored servers first",
     Import},
};

}  // namespace

std::span<const Command> CatalogueImportCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
