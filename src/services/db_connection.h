// The program's one database connection: opens the Access catalogue through the first engine
// that can (ADO with the Jet provider on Windows, then the built-in engine) and runs statements.
// Failures are reported as false only; nothing is shown or logged.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/database_engine.h"

namespace lumora::services {

// "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + path, and only for a non-empty password
// ";Jet OLEDB:Database Password=" + password + ";".
Text AccessConnectionString(const Text& path, const Text& password);

class DBConnection {
 public:
  // The engines of this system, in the order OpenAccess tries them.
  DBConnection();
  // The given engines, in this order (tests pass fakes).
  explicit DBConnection(std::vector<std::unique_ptr<DatabaseEngine>> engines);
  ~DBConnection();
  DBConnection(const DBConnection&) = delete;
  DBConnection& operator=(const DBConnection&) = delete;

  // Closes whatever is open, then opens the file with the first engine that can.
  bool OpenAccess(const Text& path, const Text& password);
  // As OpenAccess, for another data source than an Access file: the connection string goes to
  // the engines as it is (only an engine that reads connection strings, ADO, can take it). For
  // tests and checks; the program itself opens its catalogue with OpenAccess.
  bool OpenConnectionString(const Text& connection_string);
  // Runs one statement. With a timeout (seconds) the command timeout is replaced for this
  // statement only; without it the command timeout is left alone.
  bool Execute(const Text& sql, std::optional<int> timeout = std::nullopt);

  // The open engine's bulk write and transactions (see DatabaseEngine).
  bool CanStoreRows() const { return active_ != nullptr && active_->CanStoreRows(); }
  std::optional<std::size_t> StoreRows(const Text& table, bool replace, const RowSource& next) {
    return active_ ? active_->StoreRows(table, replace, next) : std::nullopt;
  }
  bool BeginTransaction() { return active_ != nullptr && active_->BeginTransaction(); }
  bool CommitTransaction() { return active_ != nullptr && active_->CommitTransaction(); }
  void RollbackTransaction() {
    if (active_ != nullptr) {
      active_->RollbackTransaction();
    }
  }
  // The connection string of the last open; empty before the first.
  const Text& ConnectionString() const { return connection_string_; }
  bool HasEngines() const { return !engines_.empty(); }
  // True when the open database will refuse every change.
  bool ReadOnly() const { return active_ != nullptr && active_->ReadOnly(); }
  // True when the open database is damaged (see DatabaseEngine::Damaged).
  bool Damaged() const { return active_ != nullptr && active_->Damaged(); }
  // What the last open met (the open engine's, or when none opened the last one's that tried)
  // and the open engine's last change.
  StorageReport Report() const { return active_ ? active_->Report() : failed_report_; }
  // The engine the last OpenAccess opened; null when none is open.
  DatabaseEngine* ActiveEngine() const { return active_; }
  // Counts the successful opens, so a record set can tell that its engine's connection changed.
  std::uint64_t OpenCount() const { return open_count_; }

 private:
  std::vector<std::unique_ptr<DatabaseEngine>> engines_;
  DatabaseEngine* active_ = nullptr;
  std::uint64_t open_count_ = 0;
  bool OpenWithFirstEngine(const ConnectionRequest& request);

  Text connection_string_;
  StorageReport failed_report_;
};

}  // namespace lumora::services
