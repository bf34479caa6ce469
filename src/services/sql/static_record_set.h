// The built-in engine's record set: each open reads its result into memory (a static cursor).
// A new or edited row is kept pending and stored when the record set moves on, is re-opened,
// closed or destroyed. The store belongs to the connection: once the connection lets it go
// (closing the file), the rows read so far stay readable and every change fails.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "services/database_engine.h"
#include "services/sql/table_store.h"

namespace lumora::services::sql {

class StaticRecordSet : public EngineRecordSet {
 public:
  explicit StaticRecordSet(std::weak_ptr<TableStore> store);
  ~StaticRecordSet() override;
  StaticRecordSet(const StaticRecordSet&) = delete;
  StaticRecordSet& operator=(const StaticRecordSet&) = delete;

  void Close() override;
  // Kind 2 opens a table; kind 1 runs SQL: a SELECT gives its rows, an UPDATE or DELETE runs
  // and leaves the record set closed. The cursor location means nothing here.
  bool Open(const Text& source, int kind, std::optional<int> cursor_location) override;
  bool IsOpen() const override { return result_.has_value(); }
  int RecordCount() const override;
  bool AddNew() override;
  void CancelPending() override;
  bool SetField(const Text& field, const std::optional<Text>& value) override;
  bool GetFieldText(const Text& field, Text& value) override;
  bool MoveNext() override;

 private:
  // A row being added or edited: its position in the result and the fields written so far.
  struct PendingRow {
    bool is_new = false;
    std::size_t index = 0;
    RowValues values;
  };

  bool AtEnd() const { return !result_ || current_ >= result_->rows.size(); }
  std::optional<std::size_t> ColumnOf(const Text& field) const;
  // Stores the pending row, if any; false when the store refused it.
  bool StorePending();

  std::weak_ptr<TableStore> store_;
  std::optional<StoredTable> result_;
  std::size_t current_ = 0;
  std::optional<PendingRow> pending_;
};

}  // namespace lumora::services::sql
