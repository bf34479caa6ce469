#include "services/sql/memory_table_store.h"

#include <algorithm>
#include <charconv>

#include "platform/code_page.h"
#include "services/sql/column_value.h"
#include "services/values/name_compare.h"

namespace lumora::services::sql {
namespace {

bool SameName(const Text& a, const Text& b) {
  return values::SameName(platform::GbkToWide(a), platform::GbkToWide(b));
}

template <typename T>
T Parse(const Text& text) {
  T number{};
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

// The stored form of a text that AcceptsValue let through.
values::Value ToValue(const StoredColumn& column, const std::optional<Text>& text) {
  if (!text) {
    return std::monostate{};
  }
  switch (column.type) {
    case values::ColumnType::kByte:
      return static_cast<std::uint8_t>(Parse<int>(*text));
    case values::ColumnType::kInteger:
      return static_cast<std::int16_t>(Parse<int>(*text));
    case values::ColumnType::kLong:
      return Parse<std::int32_t>(*text);
    case values::ColumnType::kSingle:
      return Parse<float>(*text);
    case values::ColumnType::kDouble:
      return Parse<double>(*text);
    default:
      return platform::GbkToWide(*text);
  }
}

// Positions of the named columns; empty when a name is unknown or a value is refused.
std::optional<std::vector<std::size_t>> CheckedPositions(const StoredTable& table,
                                                         const RowValues& values) {
  std::vector<std::size_t> positions;
  for (const auto& entry : values) {
    const auto found =
        std::find_if(table.columns.begin(), table.columns.end(),
                     [&](const StoredColumn& c) { return SameName(c.name, entry.first); });
    if (found == table.columns.end() || !AcceptsValue(*found, entry.second)) {
      return std::nullopt;
    }
    positions.push_back(static_cast<std::size_t>(found - table.columns.begin()));
  }
  return positions;
}

}  // namespace

bool MemoryTableStore::AddTable(const Text& name, std::vector<StoredColumn> columns) {
  if (Find(name) != nullptr) {
    return false;
  }
  Table table;
  table.data.name = name;
  table.data.columns = std::move(columns);
  tables_.push_back(std::move(table));
  return true;
}

std::optional<StoredTable> MemoryTableStore::ReadTable(const Text& name) const {
  const Table* table = Find(name);
  if (table == nullptr) {
    return std::nullopt;
  }
  return table->data;
}

bool MemoryTableStore::InsertRow(const Text& name, const RowValues& values,
                                 std::int32_t* auto_number) {
  Table* table = Find(name);
  if (table == nullptr) {
    return false;
  }
  const std::optional<std::vector<std::size_t>> positions = CheckedPositions(table->data, values);
  if (!positions) {
    return false;
  }
  const std::vector<StoredColumn>& columns = table->data.columns;
  values::Row row;
  row.id = {table->next_row_id, 0};
  row.values.resize(columns.size());
  for (std::size_t index = 0; index < values.size(); ++index) {
    row.values[(*positions)[index]] = ToValue(columns[(*positions)[index]], values[index].second);
  }
  const std::int32_t counter = table->last_auto_number + 1;
  for (std::size_t index = 0; index < columns.size(); ++index) {
    if (columns[index].auto_number) {
      row.values[index] = counter;
    } else if (!columns[index].nullable && values::IsNull(row.values[index])) {
      return false;
    }
  }
  table->last_auto_number = counter;
  ++table->next_row_id;
  if (auto_number != nullptr) {
    *auto_number = counter;
  }
  table->data.rows.push_back(std::move(row));
  return true;
}

bool MemoryTableStore::UpdateRow(const Text& name, values::RowId id, const RowValues& changes) {
  Table* table = Find(name);
  if (table == nullptr) {
    return false;
  }
  const std::optional<std::vector<std::size_t>> positions = CheckedPositions(table->data, changes);
  auto row = std::find_if(table->data.rows.begin(), table->data.rows.end(),
                          [&](const values::Row& r) { return r.id == id; });
  if (!positions || row == table->data.rows.end()) {
    return false;
  }
  for (std::size_t index = 0; index < changes.size(); ++index) {
    const std::size_t position = (*positions)[index];
    row->values[position] = ToValue(table->data.columns[position], changes[index].second);
  }
  return true;
}

bool MemoryTableStore::DeleteRow(const Text& name, values::RowId id) {
  Table* table = Find(name);
  if (table == nullptr) {
    return false;
  }
  auto row = std::find_if(table->data.rows.begin(), table->data.rows.end(),
                          [&](const values::Row& r) { return r.id == id; });
  if (row == table->data.rows.end()) {
    return false;
  }
  table->data.rows.erase(row);
  return true;
}

MemoryTableStore::Table* MemoryTableStore::Find(const Text& name) {
  return const_cast<Table*>(std::as_const(*this).Find(name));
}

const MemoryTableStore::Table* MemoryTableStore::Find(const Text& name) const {
  for (const Table& table : tables_) {
    if (SameName(table.data.name, name)) {
      return &table;
    }
  }
  return nullptr;
}

}  // namespace lumora::services::sql
