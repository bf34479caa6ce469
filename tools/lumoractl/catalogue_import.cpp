// lumoractl catalogue import FILE CSV: servers in bulk from the columns `catalogue export`
// writes, each row through the host editor's checks, all of them stored as one change. The CSV is
// read as a stream, twice: once to learn its encoding and that every field is a text in it, then
// to check and store its rows; so memory does not grow with the CSV, only with what the catalogue
// keeps of it.
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/server_edit.h"
#include "catalogue/server_store.h"
#include "catalogue/storage_text.h"
#include "catalogue_notices.h"
#include "command.h"
#include "csv_reader.h"
#include "name_set.h"
#include "platform/files.h"
#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/record_set.h"
#include "services/values/field_text.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

using catalogue::ServerRecord;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// Progress is redrawn after this many rows.
constexpr std::size_t kProgressRows = 5000;

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

// The CSV opened at its first record (past a byte-order mark, which `bom` reports).
struct CsvFile {
  std::ifstream stream;
  std::uint64_t size = 0;
  bool bom = false;

  bool Open(const std::string& path) {
    stream = std::ifstream(platform::SystemPath(path), std::ios::binary);
    if (!stream) {
      return false;
    }
    stream.seekg(0, std::ios::end);
    size = static_cast<std::uint64_t>(std::max<std::streamoff>(stream.tellg(), 0));
    stream.seekg(0);
    char mark[3] = {};
    stream.read(mark, 3);
    bom = stream.gcount() == 3 && std::string_view(mark, 3) == kByteOrderMark;
    stream.clear();
    stream.seekg(bom ? 3 : 0);
    return static_cast<bool>(stream);
  }
};

// A line on a terminal that says how far the import has come; nothing elsewhere.
class Progress {
 public:
  Progress(const char* stage, std::uint64_t total)
      : shown_(IsTerminal(stderr)), stage_(stage), total_(total) {}
  ~Progress() { Finish(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Row(std::uint64_t offset) {
    if (shown_ && ++rows_ % kProgressRows == 0) {
      Draw(offset);
    }
  }
  void Finish() {
    if (shown_ && rows_ >= kProgressRows) {
      Draw(total_);
      std::fputc('\n', stderr);
    }
    shown_ = false;
  }

 private:
  void Draw(std::uint64_t offset) {
    const unsigned percent = total_ == 0 ? 100u : static_cast<unsigned>(offset * 100 / total_);
    std::fprintf(stderr, "\r%s: %llu rows (%u%%)   ", stage_,
                 static_cast<unsigned long long>(rows_), percent);
    std::fflush(stderr);
  }

  bool shown_;
  const char* stage_;
  std::uint64_t total_;
  std::uint64_t rows_ = 0;
};

// The record's fields as GBK; nullopt when one is no text in `encoding`.
std::optional<std::vector<Text>> FieldsAsGbk(const CsvRecord& record, Encoding encoding) {
  std::vector<Text> fields;
  fields.reserve(record.fields.size());
  for (const std::string& field : record.fields) {
    std::optional<Text> text = ToGbk(field, encoding);
    if (!text) {
      return std::nullopt;
    }
    fields.push_back(std::move(*text));
  }
  return fields;
}

// The first pass: how the CSV is to be read (UTF-8 after a byte-order mark; else the encoding
// --encoding named, or UTF-8 when every field is well-formed UTF-8 and GBK when not) and that
// every field is a text in it. Says what is wrong and gives the exit code otherwise.
std::optional<Encoding> CsvEncoding(const std::string& path, int& code) {
  CsvFile csv;
  if (!csv.Open(path)) {
    PrintError(path + ": cannot be read");
    code = kFailed;
    return std::nullopt;
  }
  const std::optional<Encoding> chosen =
      csv.bom ? std::optional(Encoding::kUtf8) : ChosenEncoding();
  bool utf8 = true;
  bool any = false;
  {
    Progress progress("reading the CSV", csv.size);
    CsvReader reader(csv.stream);
    for (CsvRecord record; reader.Next(record);) {
      any = true;
      progress.Row(reader.Offset());
      if (chosen) {
        if (!FieldsAsGbk(record, *chosen)) {
          PrintError("CSV line " + std::to_string(record.line) + ": " + kNotATextMessage);
          code = kBadUsage;
          return std::nullopt;
        }
        continue;
      }
      for (const std::string& field : record.fields) {
        utf8 = utf8 && IsUtf8(field);
      }
    }
    if (reader.UnclosedQuoteLine()) {
      PrintError("CSV line " + std::to_string(*reader.UnclosedQuoteLine()) +
                 ": a quoted field is not closed");
      code = kFailed;
      return std::nullopt;
    }
  }
  if (csv.stream.bad()) {
    PrintError(path + ": cannot be read");
    code = kFailed;
    return std::nullopt;
  }
  if (!any) {
    PrintError(path + ": no header line");
    code = kFailed;
    return std::nullopt;
  }
  if (chosen) {
    return chosen;
  }
  if (!utf8) {
    // Read as GBK, every field must be GBK text too.
    CsvFile again;
    if (!again.Open(path)) {
      code = kFailed;
      return std::nullopt;
    }
    CsvReader reader(again.stream);
    for (CsvRecord record; reader.Next(record);) {
      if (!FieldsAsGbk(record, Encoding::kGbk)) {
        PrintError(path + ": not UTF-8 or GBK text, or a character GBK cannot hold (CSV line " +
                   std::to_string(record.line) + ")");
        code = kBadUsage;
        return std::nullopt;
      }
    }
  }
  return utf8 ? Encoding::kUtf8 : Encoding::kGbk;
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

std::optional<ColumnPlaces> ReadHeader(const std::vector<Text>& header) {
  static const std::set<std::string> known = {
      catalogue::kColumnNumber,   catalogue::kColumnServerName, catalogue::kColumnPort,
      catalogue::kColumnUserName, catalogue::kColumnPassword,   catalogue::kColumnDomain,
      catalogue::kColumnRemark};
  ColumnPlaces columns;
  for (std::size_t index = 0; index < header.size(); ++index) {
    const std::string& name = header[index];
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

// The row as the editor would store it, or why it is refused. `seen` holds the keys
// (AsciiLowerCase) of the names stored or taken by earlier rows.
std::optional<ServerRecord> CheckRow(const CsvRecord& record, const std::vector<Text>& fields,
                                     const ColumnPlaces& columns, NameSet& seen, Text& problem) {
  if (record.problem) {
    problem = *record.problem;
    return std::nullopt;
  }
  if (fields.size() != columns.places.size()) {
    problem = std::to_string(columns.places.size()) + " fields expected, " +
              std::to_string(fields.size()) + " found";
    return std::nullopt;
  }
  for (const Text& field : fields) {
    // No command could name such a server again, nor would the editor let one be typed.
    if (field.find('\0') != Text::npos) {
      problem = "a field holds a NUL byte";
      return std::nullopt;
    }
  }
  auto field = [&](const char* column, const char* absent) -> Text {
    const std::optional<std::size_t> place = columns.Of(column);
    return place ? fields[*place] : Text(absent);
  };
  const catalogue::ServerFields cleaned =
      catalogue::CleanFields({.address = field(catalogue::kColumnServerName, ""),
                              .port = field(catalogue::kColumnPort, "3389"),
                              .user = field(catalogue::kColumnUserName, catalogue::kDefaultUser),
                              .password = field(catalogue::kColumnPassword, ""),
                              .remark = field(catalogue::kColumnRemark, "")});
  const Text domain = field(catalogue::kColumnDomain, "");
  problem = catalogue::FieldProblem(cleaned);
  if (problem.empty() && GbkCharCount(domain) > catalogue::kTextColumnCharacters) {
    problem = "the domain is longer than 255 characters";
  }
  if (problem.empty() && !seen.Insert(AsciiLowerCase(cleaned.address))) {
    problem = catalogue::edit_text::kDuplicate;
  }
  if (!problem.empty()) {
    return std::nullopt;
  }
  return ServerRecord{.server_name = cleaned.address,
                      .port = cleaned.port,
                      .user_name = cleaned.user,
                      .password = cleaned.password,
                      .domain = domain,
                      .remark = cleaned.remark};
}

// How many servers the catalogue holds, read from the file as it now stands; each name goes into
// `names` when given. Empty when the table cannot be read. The caller holds the writer's lock, so
// no change comes between: the file is read as it lies, page by page.
std::optional<std::size_t> StoredServers(const Text& file, NameSet* names) {
  const std::optional<jet::Database> database = jet::Database::Open(jet::OpenFileSource(file));
  const std::optional<jet::TableReader> table =
      database ? database->OpenTable(catalogue::kServerTable) : std::nullopt;
  const std::optional<std::size_t> column =
      table ? table->FindColumn(catalogue::kColumnServerName) : std::nullopt;
  if (!column) {
    return std::nullopt;
  }
  std::size_t count = 0;
  jet::TableReader::Cursor cursor = table->Rows();
  for (values::Row row; cursor.Next(row); ++count) {
    if (names != nullptr) {
      names->Insert(AsciiLowerCase(values::FieldToText(row.values[*column])));
    }
  }
  return count;
}

int Import(Arguments args) {
  const std::optional<ImportArguments> parsed = ParseImportArguments(args);
  if (!parsed) {
    return UsageError("import takes FILE CSV [--replace] [--skip-bad]");
  }
  int code = kOk;
  const std::optional<Encoding> encoding = CsvEncoding(parsed->csv, code);
  if (!encoding) {
    return code;
  }
  CsvFile csv;
  if (!csv.Open(parsed->csv)) {
    PrintError(parsed->csv + ": cannot be read");
    return kFailed;
  }
  CsvReader reader(csv.stream);
  CsvRecord record;
  reader.Next(record);
  const std::optional<std::vector<Text>> header = FieldsAsGbk(record, *encoding);
  const std::optional<ColumnPlaces> columns = header ? ReadHeader(*header) : std::nullopt;
  if (!columns) {
    return kFailed;
  }

  services::DBConnection connection;
  services::RecordSet records;
  if (!OpenCatalogueForChange(connection, records, parsed->file)) {
    return kFailed;
  }
  NameSet seen;
  const std::optional<std::size_t> before =
      StoredServers(parsed->file, parsed->replace ? nullptr : &seen);
  if (!before) {
    PrintError(parsed->file + ": cannot read table Server");
    return kFailed;
  }
  std::size_t refused = 0;
  const std::optional<std::size_t> stored = [&] {
    Progress progress("importing", csv.size);
    return catalogue::StoreServers(connection, records, parsed->replace, [&](ServerRecord& server) {
      while (reader.Next(record)) {
        progress.Row(reader.Offset());
        Text problem;
        const std::optional<std::vector<Text>> fields = FieldsAsGbk(record, *encoding);
        std::optional<ServerRecord> checked =
            fields ? CheckRow(record, *fields, *columns, seen, problem) : std::nullopt;
        if (checked) {
          if (refused == 0 || parsed->skipBad) {
            server = std::move(*checked);
            return values::RowSupply::kRow;
          }
          continue;
        }
        // Every refused row is listed; without --skip-bad none is stored.
        progress.Finish();
        PrintError("CSV line " + std::to_string(record.line) + ": " +
                   (fields ? problem : Text(kNotATextMessage)));
        ++refused;
      }
      progress.Finish();
      return refused > 0 && !parsed->skipBad ? values::RowSupply::kAbandon
                                             : values::RowSupply::kEnd;
    });
  }();
  if (refused > 0 && !parsed->skipBad) {
    PrintError(std::to_string(refused) +
               " rows refused; nothing imported (--skip-bad imports the others)");
    return kFailed;
  }
  if (!stored) {
    const services::StorageReport report = connection.Report();
    const Text why = catalogue::StorageProblemText(report);
    PrintFileError(parsed->file,
                   catalogue::WithRefusal("nothing imported, the catalogue is as it was" +
                                              (why.empty() ? Text() : ": " + why),
                                          report));
    return kFailed;
  }
  // What reached the table is read back, not assumed.
  const std::size_t expected = (parsed->replace ? 0 : *before) + *stored;
  const std::optional<std::size_t> after = StoredServers(parsed->file, nullptr);
  if (after != expected) {
    PrintFileError(parsed->file, "the catalogue holds " + std::to_string(after.value_or(0)) +
                                     " servers after the import, " + std::to_string(expected) +
                                     " expected");
    return kFailed;
  }
  PrintText(stdout, std::to_string(*stored) + " servers imported" +
                        (refused == 0 ? "" : ", " + std::to_string(refused) + " rows skipped"));
  return kOk;
}

constexpr Command kCommands[] = {
    {"import", "FILE CSV [--replace] [--skip-bad]",
     "adds the servers of a CSV laid out as export writes it (UTF-8 with or without BOM, or "
     "GBK), each through the host editor's checks, as one change: all of them are stored or "
     "none, a failure or a kill on the way included; refused rows are listed and nothing is "
     "stored unless --skip-bad; --replace deletes the stored servers first, in the same change",
     Import},
};

}  // namespace

std::span<const Command> CatalogueImportCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
