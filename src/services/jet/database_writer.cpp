// The write operations of Database: program texts to column values, then the table writer.
#include "services/jet/database.h"
#include "services/jet/field_parse.h"
#include "services/jet/pager.h"
#include "services/jet/table_writer.h"

namespace lumora::jet {

// One change through the pager: committed when `write` succeeds, abandoned otherwise, so that a
// refused or failed write leaves the file exactly as it was. Inside an open change the write is
// part of it, and a failure spoils it.
bool Database::AsOneChange(const std::function<bool()>& write) {
  if (in_change_) {
    if (change_spoilt_ || !write()) {
      change_spoilt_ = true;
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
  if (!writer_ || in_change_) {
    return false;
  }
  platform::SetLastFileError(platform::FileError::kNone);
  writer_->BeginChange();
  in_change_ = true;
  change_spoilt_ = false;
  last_write_error_ = platform::FileError::kNone;
  return true;
}

bool Database::CommitChange() {
  if (!in_change_) {
    return false;
  }
  in_change_ = false;
  if (change_spoilt_) {
    writer_->AbandonChange();
    return false;
  }
  const bool committed = writer_->CommitChange();
  last_write_error_ = committed ? platform::FileError::kNone : platform::LastFileError();
  return committed;
}

void Database::AbandonChange() {
  if (in_change_) {
    in_change_ = false;
    writer_->AbandonChange();
  }
}

std::optional<TableDefinition> Database::WritableTable(const Text& table) const {
  if (!writer_) {
    return std::nullopt;
  }
  const std::optional<TableReader> reader = OpenTable(table);
  // The catalog and the other system tables are the engine's own business.
  if (!reader || reader->Definition().system_table) {
    return std::nullopt;
  }
  return reader->Definition();
}

std::optional<std::size_t> Database::InsertRows(const Text& table,
                                                const std::function<RowSupply(RowValues&)>& next) {
  std::optional<TableDefinition> definition = WritableTable(table);
  if (!definition) {
    return std::nullopt;
  }
  const std::optional<TableReader> reader = OpenTable(table);
  std::optional<std::size_t> count;
  const bool done = AsOneChange([&] {
    RowValues named;
    count = InsertManyValues(*writer_, *definition, [&](std::vector<Value>& row) {
      named.clear();
      const RowSupply supply = next(named);
      if (supply != RowSupply::kRow) {
        return supply;
      }
      const std::optional<std::vector<std::optional<Value>>> given = ColumnValues(*reader, named);
      if (!given) {
        return RowSupply::kAbandon;
      }
      for (std::size_t index = 0; index < row.size(); ++index) {
        if ((*given)[index]) {
          if (definition->columns[index].IsAutoNumber()) {
            return RowSupply::kAbandon;
          }
          row[index] = *(*given)[index];
        }
      }
      return RowSupply::kRow;
    });
    return count.has_value();
  });
  return done ? count : std::nullopt;
}

bool Database::DeleteAllRows(const Text& table) {
  std::optional<TableDefinition> definition = WritableTable(table);
  return definition && AsOneChange([&] { return DeleteAllValues(*writer_, *definition); });
}

std::optional<std::vector<std::optional<Value>>> Database::ColumnValues(
    const TableReader& table, const RowValues& values) const {
  std::vector<std::optional<Value>> result(table.Columns().size());
  for (const auto& [name, text] : values) {
    const std::optional<std::size_t> column = table.FindColumn(name);
    if (!column || result[*column]) {
      return std::nullopt;
    }
    std::optional<Value> value = ParseFieldText(table.Columns()[*column], text);
    if (!value) {
      return std::nullopt;
    }
    result[*column] = std::move(*value);
  }
  return result;
}

bool Database::InsertRow(const Text& table, const RowValues& values, std::int32_t* autoNumber) {
  if (!writer_) {
    return false;
  }
  const std::optional<TableReader> reader = OpenTable(table);
  if (!reader) {
    return false;
  }
  const std::optional<std::vector<std::optional<Value>>> given = ColumnValues(*reader, values);
  if (!given) {
    return false;
  }
  std::vector<Value> row(reader->Columns().size());
  for (std::size_t index = 0; index < row.size(); ++index) {
    if (!(*given)[index]) {
      continue;
    }
    if (reader->Columns()[index].IsAutoNumber()) {
      return false;
    }
    row[index] = *(*given)[index];
  }
  // The catalog and the other system tables are the engine's own business.
  if (reader->Definition().system_table) {
    return false;
  }
  TableDefinition definition = reader->Definition();
  std::int32_t assigned = 0;
  if (!AsOneChange([&] {
        return InsertValues(*writer_, definition, std::move(row), &assigned).has_value();
      })) {
    return false;
  }
  if (autoNumber != nullptr) {
    *autoNumber = assigned;
  }
  return true;
}

bool Database::UpdateRow(const Text& table, RowId row, const RowValues& changes) {
  if (!writer_) {
    return false;
  }
  const std::optional<TableReader> reader = OpenTable(table);
  if (!reader) {
    return false;
  }
  const std::optional<std::vector<std::optional<Value>>> given = ColumnValues(*reader, changes);
  if (!given) {
    return false;
  }
  if (reader->Definition().system_table) {
    return false;
  }
  TableDefinition definition = reader->Definition();
  return AsOneChange([&] { return UpdateValues(*writer_, definition, row, *given); });
}

bool Database::DeleteRow(const Text& table, RowId row) {
  if (!writer_) {
    return false;
  }
  const std::optional<TableReader> reader = OpenTable(table);
  if (!reader) {
    return false;
  }
  if (reader->Definition().system_table) {
    return false;
  }
  TableDefinition definition = reader->Definition();
  return AsOneChange([&] { return DeleteValues(*writer_, definition, row); });
}

CheckReport Database::Check() const {
  return CheckDatabase(pager_, catalog_);
}

}  // namespace lumora::jet
