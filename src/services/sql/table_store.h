// What the built-in engine needs from the storage under it: whole tables to read, and single
// rows to insert, change or delete. The Access file is one store; an in-memory one serves tests.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "base/text.h"
#include "services/database_engine.h"
#include "services/storage_report.h"
#include "services/values/column_type.h"
#include "services/values/row.h"

namespace lumora::services::sql {

// Column name and GBK text to store, or nullopt for Null.
using RowValues = std::vector<std::pair<Text, std::optional<Text>>>;

struct StoredColumn {
  Text name;  // GBK
  values::ColumnType type = values::ColumnType::kText;
  // Declared length in bytes (a Text(50) column holds 100).
  std::uint16_t length = 0;
  bool nullable = true;
  bool auto_number = false;
};

struct StoredTable {
  Text name;  // as the store spells it
  std::vector<StoredColumn> columns;
  // Values in the order of `columns`.
  std::vector<values::Row> rows;
};

class TableStore {
 public:
  virtual ~TableStore() = default;

  // The table named `name` (matched without regard to letter case) with all its rows; empty
  // when there is none or it cannot be read.
  virtual std::optional<StoredTable> ReadTable(const Text& name) const = 0;
  // Each gives false when the change could not be made; the table is then unchanged.
  virtual bool InsertRow(const Text& table, const RowValues& values, std::int32_t* auto_number) = 0;
  virtual bool UpdateRow(const Text& table, values::RowId row, const RowValues& changes) = 0;
  virtual bool DeleteRow(const Text& table, values::RowId row) = 0;
  // False when every change will be refused (the file could only be opened for reading).
  virtual bool Writable() const { return true; }
  // True when the store's own bookkeeping is damaged, so that its tables show only in part.
  virtual bool Damaged() const { return false; }
  // Bulk writes as one change (see DatabaseEngine::StoreRows); a store that cannot says so.
  virtual bool CanStoreRows() const { return false; }
  virtual std::optional<std::size_t> StoreRows(const Text& /*table*/, bool /*replace*/,
                                               const RowSource& /*next*/) {
    return std::nullopt;
  }
  // What opening the store and its last change met.
  virtual StorageReport Report() const { return {}; }
};

}  // namespace lumora::services::sql
