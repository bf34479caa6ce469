// The write operations of Database: program texts to column values, then the table writer.
#include "services/jet/database.h"
#include "services/jet/failure.h"
#include "services/jet/field_parse.h"
#include "services/jet/pager.h"
#include "services/jet/table_writer.h"

namespace lumora::jet {

// Each public write runs through here: what its refusal recorded becomes LastFailure.
template <typename Operation>
auto Database::Reported(const Operation& operation) -> decltype(operation()) {
  ClearFailure();
  auto result = operation();
  last_failure_ = result ? Failure{} : NotedFailure();
  return result;
}

// One change through the pager: committed when `write` succeeds, abandoned otherwise, so that a
// refused or failed write leaves the file exactly as it was. Inside an open change the write is
// part of it, and a failure spoils it.
bool Database::AsOneChange(const std::function<bool()>& write) {
  if (in_change_) {
    if (change_spoilt_) {
      NoteFailure(spoilt_by_);
      return false;
    }
    if (!write()) {
      change_spoilt_ = true;
      spoilt_by_ = NotedFailure();
      last_write_error_ = platform::LastFileError();
      return false;
    }
    return true;
  }
  platform::SetLastFileError(platform::FileError::kNone);
  writer_->BeginChange();
  const bool written = write();
  if (!written) {
    writer_->AbandonChange();
  }
  const bool committed = written && writer_->CommitChange();
  last_write_error_ = committed ? platform::FileError::kNone : platform::LastFileError();
  return committed;
}

bool Database::BeginChange() {
  return Reported([&]() -> bool {
    JET_REFUSE_IF(!writer_, "the file is open for reading only");
    JET_REFUSE_IF(in_change_, "a change is open already");
    platform::SetLastFileError(platform::FileError::kNone);
    writer_->BeginChange();
    in_change_ = true;
    change_spoilt_ = false;
    spoilt_by_ = Failure{};
    last_write_error_ = platform::FileError::kNone;
    return true;
  });
}

bool Database::CommitChange() {
  return Reported([&]() -> bool {
    JET_REFUSE_IF(!in_change_, "no change is open");
    in_change_ = false;
    if (change_spoilt_) {
      writer_->AbandonChange();
      NoteFailure(spoilt_by_);
      return false;
    }
    const bool committed = writer_->CommitChange();
    last_write_error_ = committed ? platform::FileError::kNone : platform::LastFileError();
    return committed;
  });
}

void Database::AbandonChange() {
  if (in_change_) {
    in_change_ = false;
    writer_->AbandonChange();
  }
}

std::optional<TableReader> Database::WritableTable(const Text& table) const {
  JET_REFUSE_IF(!writer_, "the file is open for reading only");
  std::optional<TableReader> reader = OpenTable(table);
  JET_REFUSE_IF(!reader, "no readable table of that name");
  JET_REFUSE_IF(reader->Definition().system_table, "system tables are the engine's own");
  return reader;
}

std::optional<std::size_t> Database::InsertRows(const Text& table,
                                                const std::function<RowSupply(RowValues&)>& next) {
  return Reported([&]() -> std::optional<std::size_t> {
    const std::optional<TableReader> reader = WritableTable(table);
    if (!reader) {
      return std::nullopt;
    }
    TableDefinition definition = reader->Definition();
    std::optional<std::size_t> count;
    const bool done = AsOneChange([&] {
      RowValues named;
      count = InsertManyValues(*writer_, definition, [&](std::vector<Value>& row) {
        named.clear();
        const RowSupply supply = next(named);
        if (supply != RowSupply::kRow) {
          return supply;
        }
        const std::optional<std::vector<Value>> given = InsertedValues(*reader, named);
        if (!given) {
          return RowSupply::kAbandon;
        }
        row = *given;
        return RowSupply::kRow;
      });
      return count.has_value();
    });
    return done ? count : std::nullopt;
  });
}

bool Database::DeleteAllRows(const Text& table) {
  return Reported([&]() -> bool {
    const std::optional<TableReader> reader = WritableTable(table);
    if (!reader) {
      return false;
    }
    TableDefinition definition = reader->Definition();
    return AsOneChange([&] { return DeleteAllValues(*writer_, definition); });
  });
}

std::optional<std::vector<std::optional<Value>>> Database::ColumnValues(
    const TableReader& table, const RowValues& values) const {
  std::vector<std::optional<Value>> result(table.Columns().size());
  for (const auto& [name, text] : values) {
    const std::optional<std::size_t> column = table.FindColumn(name);
    JET_REFUSE_IF(!column, "a value names no column of the table");
    JET_REFUSE_IF(result[*column].has_value(), "a column is given two values");
    std::optional<Value> value = ParseFieldText(table.Columns()[*column], text);
    JET_REFUSE_IF(!value, "a value does not suit its column");
    result[*column] = std::move(*value);
  }
  return result;
}

std::optional<std::vector<Value>> Database::InsertedValues(const TableReader& table,
                                                           const RowValues& values) const {
  const std::optional<std::vector<std::optional<Value>>> given = ColumnValues(table, values);
  if (!given) {
    return std::nullopt;
  }
  std::vector<Value> row(given->size());
  for (std::size_t index = 0; index < row.size(); ++index) {
    if ((*given)[index]) {
      JET_REFUSE_IF(table.Columns()[index].IsAutoNumber(),
                    "the AutoNumber column is numbered by the engine");
      row[index] = *(*given)[index];
    }
  }
  return row;
}

bool Database::InsertRow(const Text& table, const RowValues& values, std::int32_t* autoNumber) {
  return Reported([&]() -> bool {
    const std::optional<TableReader> reader = WritableTable(table);
    if (!reader) {
      return false;
    }
    std::optional<std::vector<Value>> row = InsertedValues(*reader, values);
    if (!row) {
      return false;
    }
    TableDefinition definition = reader->Definition();
    std::int32_t assigned = 0;
    if (!AsOneChange([&] {
          return InsertValues(*writer_, definition, std::move(*row), &assigned).has_value();
        })) {
      return false;
    }
    if (autoNumber != nullptr) {
      *autoNumber = assigned;
    }
    return true;
  });
}

bool Database::UpdateRow(const Text& table, RowId row, const RowValues& changes) {
  return Reported([&]() -> bool {
    const std::optional<TableReader> reader = WritableTable(table);
    if (!reader) {
      return false;
    }
    const std::optional<std::vector<std::optional<Value>>> given = ColumnValues(*reader, changes);
    if (!given) {
      return false;
    }
    TableDefinition definition = reader->Definition();
    return AsOneChange([&] { return UpdateValues(*writer_, definition, row, *given); });
  });
}

bool Database::DeleteRow(const Text& table, RowId row) {
  return Reported([&]() -> bool {
    const std::optional<TableReader> reader = WritableTable(table);
    if (!reader) {
      return false;
    }
    TableDefinition definition = reader->Definition();
    return AsOneChange([&] { return DeleteValues(*writer_, definition, row); });
  });
}

CheckReport Database::Check() const {
  return CheckDatabase(pager_, catalog_);
}

}  // namespace lumora::jet
