// The built-in engine's writes, through the write side of services/jet.
#include "services/jet_engine.h"

#include "services/jet/failure.h"

namespace lumora::services {

std::optional<jet::Database> JetTableStore::OpenWritable(const Text& path,
                                                         jet::OpenReport& report) {
  return jet::Database::Open(path, false, &report);
}

bool JetTableStore::SafeToWrite() const {
  // Checked once, before the first write or question: a damaged file (a truncated copy, say) is
  // only read, since writing into it would spread the damage. Reading alone costs no check.
  if (!safe_to_write_.has_value()) {
    const jet::CheckReport check = database_.Check();
    safe_to_write_ = check.SafeToWrite();
    if (!check.SafeToWrite()) {
      damage_ = "consistency check: " + check.first_damage;
    }
  }
  return *safe_to_write_;
}

bool JetTableStore::Writable() const {
  return writable_ && SafeToWrite();
}

bool JetTableStore::Damaged() const {
  return !SafeToWrite();
}

StorageReport JetTableStore::Report() const {
  StorageReport report = report_;
  if (database_.LastWriteError() != platform::FileError::kNone) {
    report.error = database_.LastWriteError();
  }
  // The check refuses every change before the engine sees one; it says nothing until it has run.
  if (!damage_.empty()) {
    report.refusal = damage_;
  } else if (database_.LastFailure()) {
    report.refusal = jet::FailureText(database_.LastFailure());
  }
  return report;
}

bool JetTableStore::InsertRow(const Text& table, const sql::RowValues& values,
                              std::int32_t* auto_number) {
  return Writable() && database_.InsertRow(table, values, auto_number);
}

bool JetTableStore::UpdateRow(const Text& table, values::RowId row, const sql::RowValues& changes) {
  return Writable() && database_.UpdateRow(table, row, changes);
}

bool JetTableStore::DeleteRow(const Text& table, values::RowId row) {
  return Writable() && database_.DeleteRow(table, row);
}

std::optional<std::size_t> JetTableStore::StoreRows(const Text& table, bool replace,
                                                    const RowSource& next) {
  if (!Writable() || !database_.BeginChange()) {
    return std::nullopt;
  }
  const std::optional<std::size_t> stored =
      replace && !database_.DeleteAllRows(table) ? std::nullopt : database_.InsertRows(table, next);
  if (!stored) {
    database_.AbandonChange();
    return std::nullopt;
  }
  return database_.CommitChange() ? stored : std::nullopt;
}

}  // namespace lumora::services
