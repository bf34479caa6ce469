// bench_catalogue: the built-in Access engine on one 10,000-row table Server. Reading every row
// (ours against mdb-export on the same file), 1,000 inserts, 1,000 updates and a select by name
// through the program's record set. Usage: bench_catalogue [ROWS]
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/server_edit.h"
#include "catalogue/server_store.h"
#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/record_set.h"
#include "services/values/field_text.h"

namespace {

using lumora::Text;
namespace jet = lumora::jet;
namespace values = lumora::values;

constexpr int kRounds = 5;
constexpr int kWrites = 1000;

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The file without the durability syncs, only for laying out the table to measure: building
// 10,000 rows with a sync per write would take minutes and say nothing about reading.
class UnsyncedFile final : public jet::PageSource {
 public:
  explicit UnsyncedFile(const std::string& path) : file_(std::fopen(path.c_str(), "r+b")) {}
  bool IsOpen() const { return file_ != nullptr; }

  std::uint64_t Size() const override {
    std::fseek(file_.get(), 0, SEEK_END);
    return static_cast<std::uint64_t>(std::ftell(file_.get()));
  }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    return std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(out.data(), 1, out.size(), file_.get()) == out.size();
  }
  bool Writable() const override { return true; }
  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    return std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fwrite(data.data(), 1, data.size(), file_.get()) == data.size();
  }
  bool Flush() override { return std::fflush(file_.get()) == 0; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

Text ServerName(int number) {
  return "10." + std::to_string(number / 65536 % 256) + "." + std::to_string(number / 256 % 256) +
         "." + std::to_string(number % 256);
}

jet::RowValues ServerRow(int number) {
  return {{"服务器名", ServerName(number)},
          {"端口", std::to_string(3389 + number % 7)},
          {"用户名", number % 3 == 0 ? Text("管理员") : Text("administrator")},
          {"密码", "pw-" + std::to_string(100000 + number)},
          {"域", std::nullopt},
          {"备注", "机房" + std::to_string(number % 40) + "号机柜，第" + std::to_string(number) +
                       "台服务器"}};
}

bool BuildTable(const std::string& path, int rows) {
  if (!jet::Database::Create(path)) {
    return false;
  }
  auto source = std::make_unique<UnsyncedFile>(path);
  if (!source->IsOpen()) {
    return false;
  }
  std::optional<jet::Database> database = jet::Database::Open(std::move(source));
  if (!database) {
    return false;
  }
  for (int number = 0; number < rows; ++number) {
    if (!database->InsertRow("Server", ServerRow(number))) {
      std::fprintf(stderr, "row %d could not be inserted\n", number);
      return false;
    }
  }
  const jet::CheckReport report = database->Check();
  for (const Text& problem : report.problems) {
    std::fprintf(stderr, "check: %s\n", problem.c_str());
  }
  return report.Ok();
}

// Open the file, read every row of Server and spell every cell as text, as an export does.
std::size_t ReadEveryRow(const std::string& path) {
  const std::optional<jet::Database> database = jet::Database::Open(path);
  const std::optional<jet::TableReader> table =
      database ? database->OpenTable("Server") : std::nullopt;
  if (!table) {
    return 0;
  }
  std::size_t bytes = 0;
  jet::TableReader::Cursor cursor = table->Rows();
  for (values::Row row; cursor.Next(row);) {
    for (const values::Value& value : row.values) {
      bytes += values::FieldToText(value).size() + 1;
    }
  }
  return bytes;
}

// The main window's list fill: DBConnection, RecordSet, the table opened and every row read.
std::size_t ListThroughRecordSet(const std::string& path) {
  lumora::services::DBConnection connection;
  lumora::services::RecordSet records;
  std::vector<lumora::catalogue::ServerRecord> servers;
  if (!connection.OpenAccess(path, "") || !records.SetConnection(connection) ||
      !lumora::catalogue::ListServers(records, servers)) {
    return 0;
  }
  return servers.size();
}

std::size_t MdbExport(const std::string& path) {
  FILE* pipe = popen(("mdb-export '" + path + "' Server").c_str(), "r");
  if (!pipe) {
    return 0;
  }
  std::size_t bytes = 0;
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    bytes += got;
  }
  return pclose(pipe) == 0 ? bytes : 0;
}

template <typename Work>
double BestOf(Work work, std::size_t& result) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    const double start = Now();
    result = work();
    best = std::min(best, Now() - start);
  }
  return best;
}

void Report(const char* what, double seconds, const char* note = "") {
  std::printf("%-44s %10.1f ms  %s\n", what, seconds * 1000, note);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  char pattern[] = "/tmp/bench_catalogue_XXXXXX";
  if (!mkdtemp(pattern)) {
    std::fprintf(stderr, "no temporary directory\n");
    return 1;
  }
  const std::filesystem::path directory(pattern);
  const std::string file = (directory / "mstsc.mdb").string();
  const std::string copy = (directory / "copy.mdb").string();
  struct Cleanup {
    std::filesystem::path path;
    ~Cleanup() { std::filesystem::remove_all(path); }
  } cleanup{directory};

  double start = Now();
  if (!BuildTable(file, rows)) {
    std::fprintf(stderr, "could not build the table\n");
    return 1;
  }
  std::printf("table Server: %d rows, %ju bytes (built without syncs in %.1f s)\n\n", rows,
              static_cast<std::uintmax_t>(std::filesystem::file_size(file)), Now() - start);

  std::size_t ours_bytes = 0;
  std::size_t listed = 0;
  std::size_t their_bytes = 0;
  const double ours = BestOf([&] { return ReadEveryRow(file); }, ours_bytes);
  const double list = BestOf([&] { return ListThroughRecordSet(file); }, listed);
  const double theirs = BestOf([&] { return MdbExport(file); }, their_bytes);
  if (ours_bytes == 0 || listed != static_cast<std::size_t>(rows) || their_bytes == 0) {
    std::fprintf(stderr, "a read failed (ours %zu bytes, listed %zu, mdb-export %zu bytes)\n",
                 ours_bytes, listed, their_bytes);
    return 1;
  }
  Report("read every row, cells as text (engine)", ours);
  Report("list fill through RecordSet (ListServers)", list);
  Report("mdb-export Server (process, CSV to a pipe)", theirs);
  std::printf("%-44s %10.2fx\n\n", "mdb-export time / engine time", theirs / ours);

  // A server near the end of the table, then one that is not there.
  lumora::services::DBConnection connection;
  lumora::services::RecordSet records;
  if (!connection.OpenAccess(file, "") || !records.SetConnection(connection)) {
    return 1;
  }
  std::size_t found = 0;
  const Text wanted = ServerName(rows - 2);
  const double select = BestOf(
      [&] {
        Text number;
        return lumora::catalogue::SelectServer(records, wanted) &&
                       records.GetFieldText("编号", number) && number == std::to_string(rows - 1)
                   ? std::size_t{1}
                   : std::size_t{0};
      },
      found);
  std::size_t missing = 0;
  const double select_missing = BestOf(
      [&] {
        return lumora::catalogue::OtherServerNamedAlike(records, "192.0.2.1") ? std::size_t{1}
                                                                              : std::size_t{0};
      },
      missing);
  if (found != 1 || missing != 0) {
    std::fprintf(stderr, "select by name gave the wrong row\n");
    return 1;
  }
  Report("select by name (OpenWhere, found)", select);
  Report("duplicate test, name absent", select_missing);

  // Writes go through the real file with its syncs, as the program's do.
  std::filesystem::copy_file(file, copy);
  {
    std::optional<jet::Database> database = jet::Database::Open(copy, false);
    if (!database) {
      return 1;
    }
    start = Now();
    for (int number = 0; number < kWrites; ++number) {
      if (!database->InsertRow("Server", ServerRow(rows + number))) {
        std::fprintf(stderr, "insert %d failed\n", number);
        return 1;
      }
    }
    Report("1,000 inserts", Now() - start);

    const std::optional<jet::TableReader> table = database->OpenTable("Server");
    const std::vector<values::Row> all = table ? table->ReadAll() : std::vector<values::Row>{};
    if (all.size() < static_cast<std::size_t>(kWrites)) {
      return 1;
    }
    start = Now();
    for (int number = 0; number < kWrites; ++number) {
      // Same length as before: the row stays in place.
      const jet::RowValues change = {{"密码", "PW-" + std::to_string(100000 + number)}};
      if (!database->UpdateRow("Server", all[static_cast<std::size_t>(number) * 7 % all.size()].id,
                               change)) {
        std::fprintf(stderr, "update %d failed\n", number);
        return 1;
      }
    }
    Report("1,000 updates (in place)", Now() - start);
    if (!database->Check().Ok()) {
      std::fprintf(stderr, "the consistency check failed after the writes\n");
      return 1;
    }
  }
  return 0;
}
