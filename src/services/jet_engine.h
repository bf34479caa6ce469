// The built-in engine over an Access file: the file is read and written by services/jet, the
// SQL is run by services/sql.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "services/database_engine.h"
#include "services/jet/database.h"
#include "services/sql/table_store.h"

namespace lumora::services {

// A Jet 4 file as a table store. Opened for writing when it can be, otherwise for reading only
// (every write then gives false): when another program writes the file, it is read-only, or its
// bookkeeping is damaged.
class JetTableStore : public sql::TableStore {
 public:
  // Empty when the file is missing or not a Jet 4 database. The database password is not
  // checked: the format keeps it only for Access to enforce.
  static std::shared_ptr<JetTableStore> Open(const Text& path);
  // The same, saying in `report` what the open met (also when it fails).
  static std::shared_ptr<JetTableStore> Open(const Text& path, StorageReport& report);

  bool Writable() const override;
  // Beyond the stale row counts that Access itself leaves.
  bool Damaged() const override;
  // What the open met, and why the last change failed.
  StorageReport Report() const override;

  std::optional<sql::StoredTable> ReadTable(const Text& name) const override;
  bool InsertRow(const Text& table, const sql::RowValues& values,
                 std::int32_t* auto_number) override;
  bool UpdateRow(const Text& table, values::RowId row, const sql::RowValues& changes) override;
  bool DeleteRow(const Text& table, values::RowId row) override;
  bool CanStoreRows() const override { return Writable(); }
  std::optional<std::size_t> StoreRows(const Text& table, bool replace,
                                       const RowSource& next) override;

 private:
  JetTableStore(jet::Database database, bool writable, StorageReport report)
      : database_(std::move(database)), writable_(writable), report_(std::move(report)) {}

  // The file opened for writing; empty when that is not possible (jet_engine_writes.cpp).
  static std::optional<jet::Database> OpenWritable(const Text& path, jet::OpenReport& report);

  jet::Database database_;
  bool writable_ = false;
  StorageReport report_;
  // Whether the file's bookkeeping allows writing; found on the first need, with what the
  // consistency check found when it does not.
  bool SafeToWrite() const;
  mutable std::optional<bool> safe_to_write_;
  mutable Text damage_;
};

// The built-in engine; its Open takes the request's path.
std::unique_ptr<DatabaseEngine> MakeJetEngine();

}  // namespace lumora::services
