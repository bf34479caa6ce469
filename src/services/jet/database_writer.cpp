// The write operations of Database: program texts to column values, then the table writer.
#include "services/jet/database.h"
#include "services/jet/field_parse.h"
#include "services/jet/pager.h"
#include "services/jet/table_writer.h"

namespace lumora::jet {
namespace {

// One change through `pager`: committed when `write` succeeds, abandoned otherwise, so that a
// refused or failed write leaves the file exactly as it was.
template <typename Write>
bool AsOneChange(Pager& pager, Write&& write) {
  pager.BeginChange();
  if (!write()) {
    pager.AbandonChange();
    return false;
  }
  return pager.CommitChange();
}

}  // namespace

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
  if (!AsOneChange(*writer_, [&] {
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
  return AsOneChange(*writer_, [&] { return UpdateValues(*writer_, definition, row, *given); });
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
  return AsOneChange(*writer_, [&] { return DeleteValues(*writer_, definition, row); });
}

CheckReport Database::Check() const {
  return CheckDatabase(pager_, catalog_);
}

}  // namespace lumora::jet
