#include "services/jet/catalog.h"

#include <variant>

#include "services/jet/table_reader.h"
#include "services/values/name_compare.h"

namespace lumora::jet {
namespace {

std::optional<std::size_t> ColumnNamed(const TableDefinition& table, std::u16string_view name) {
  for (std::size_t index = 0; index < table.columns.size(); ++index) {
    if (values::SameName(table.columns[index].name, name)) {
      return index;
    }
  }
  return std::nullopt;
}

template <typename T>
T Get(const std::vector<Value>& values, std::size_t index) {
  const T* value = std::get_if<T>(&values[index]);
  return value ? *value : T{};
}

}  // namespace

std::optional<std::vector<CatalogEntry>> ReadCatalog(const std::shared_ptr<const Pager>& pager) {
  std::optional<TableDefinition> definition = ReadTableDefinition(*pager, kCatalogDefinitionPage);
  if (!definition) {
    return std::nullopt;
  }
  const auto id = ColumnNamed(*definition, u"Id");
  const auto parent = ColumnNamed(*definition, u"ParentId");
  const auto name = ColumnNamed(*definition, u"Name");
  const auto type = ColumnNamed(*definition, u"Type");
  const auto flags = ColumnNamed(*definition, u"Flags");
  if (!id || !parent || !name || !type || !flags) {
    return std::nullopt;
  }
  const auto is = [&](std::size_t index, ColumnType expected) {
    return definition->columns[index].type == expected;
  };
  if (!is(*id, ColumnType::kLong) || !is(*parent, ColumnType::kLong) ||
      !is(*name, ColumnType::kText) || !is(*type, ColumnType::kInteger) ||
      !is(*flags, ColumnType::kLong)) {
    return std::nullopt;
  }

  const TableReader reader(pager, std::move(*definition));
  std::vector<CatalogEntry> entries;
  TableReader::Cursor cursor = reader.Rows();
  Row row;
  while (cursor.Next(row)) {
    CatalogEntry entry;
    entry.id = Get<std::int32_t>(row.values, *id);
    entry.parent_id = Get<std::int32_t>(row.values, *parent);
    entry.name = Get<std::u16string>(row.values, *name);
    entry.type = Get<std::int16_t>(row.values, *type);
    entry.flags = static_cast<std::uint32_t>(Get<std::int32_t>(row.values, *flags));
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace lumora::jet
