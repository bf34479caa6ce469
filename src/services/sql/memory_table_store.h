// Tables kept in memory, with the same checks as a file: for tests of everything above the
// database layer, and wherever a catalogue is needed without a file.
#pragma once

#include <cstdint>
#include <vector>

#include "services/sql/table_store.h"

namespace lumora::services::sql {

class MemoryTableStore : public TableStore {
 public:
  // Adds an empty table; false when a table of that name exists.
  bool AddTable(const Text& name, std::vector<StoredColumn> columns);

  std::optional<StoredTable> ReadTable(const Text& name) const override;
  // Columns left out get Null, or the next counter value for a counter column.
  bool InsertRow(const Text& table, const RowValues& values, std::int32_t* auto_number) override;
  bool UpdateRow(const Text& table, values::RowId row, const RowValues& changes) override;
  bool DeleteRow(const Text& table, values::RowId row) override;

 private:
  struct Table {
    StoredTable data;
    std::int32_t last_auto_number = 0;
    std::uint32_t next_row_id = 1;
  };

  Table* Find(const Text& name);
  const Table* Find(const Text& name) const;

  std::vector<Table> tables_;
};

}  // namespace lumora::services::sql
