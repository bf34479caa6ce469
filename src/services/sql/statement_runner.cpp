#include "services/sql/statement_runner.h"

#include "services/sql/column_value.h"
#include "services/sql/condition.h"
#include "services/sql/parser.h"

namespace lumora::services::sql {
namespace {

std::vector<ColumnInfo> ColumnInfos(const StoredTable& table) {
  std::vector<ColumnInfo> infos;
  infos.reserve(table.columns.size());
  for (const StoredColumn& column : table.columns) {
    infos.push_back({column.name, KindOf(column.type)});
  }
  return infos;
}

// Rows of `table` for which `where` holds (all of them without a condition); empty when the
// condition cannot be bound or evaluated.
std::optional<std::vector<values::Row>> MatchingRows(const StoredTable& table,
                                                     const std::optional<Condition>& where) {
  if (!where) {
    return table.rows;
  }
  Condition condition = *where;
  if (!BindCondition(condition, ColumnInfos(table))) {
    return std::nullopt;
  }
  std::vector<values::Row> matching;
  for (const values::Row& row : table.rows) {
    const std::optional<Truth> truth = Evaluate(condition, row.values);
    if (!truth) {
      return std::nullopt;
    }
    if (*truth == Truth::kTrue) {
      matching.push_back(row);
    }
  }
  return matching;
}

std::optional<Text> LiteralText(const Operand& literal) {
  if (literal.kind == Operand::Kind::kNull) {
    return std::nullopt;
  }
  return literal.text;
}

// The changes of an UPDATE in the store's spelling; empty when one is refused.
std::optional<RowValues> CheckedChanges(const StoredTable& table,
                                        const std::vector<Assignment>& assignments) {
  const std::vector<ColumnInfo> infos = ColumnInfos(table);
  RowValues changes;
  for (const Assignment& assignment : assignments) {
    const std::optional<std::size_t> position = FindColumn(infos, assignment.column);
    if (!position) {
      return std::nullopt;
    }
    const StoredColumn& column = table.columns[*position];
    const Operand::Kind literal = assignment.value.kind;
    // Jet would convert between text and numbers here; this engine does not guess how.
    const bool kinds_agree =
        literal == Operand::Kind::kNull ||
        (literal == Operand::Kind::kText && infos[*position].kind == ColumnKind::kText) ||
        (literal == Operand::Kind::kNumber && infos[*position].kind == ColumnKind::kNumber);
    const std::optional<Text> value = LiteralText(assignment.value);
    if (!kinds_agree || !AcceptsValue(column, value)) {
      return std::nullopt;
    }
    changes.emplace_back(column.name, value);
  }
  return changes;
}

}  // namespace

std::optional<StoredTable> RunSelect(const TableStore& store, const SelectStatement& select) {
  std::optional<StoredTable> table = store.ReadTable(select.table);
  if (!table) {
    return std::nullopt;
  }
  std::optional<std::vector<values::Row>> rows = MatchingRows(*table, select.where);
  if (!rows) {
    return std::nullopt;
  }
  table->rows = std::move(*rows);
  return table;
}

bool RunUpdate(TableStore& store, const UpdateStatement& update) {
  const std::optional<StoredTable> table = store.ReadTable(update.table);
  if (!table) {
    return false;
  }
  const std::optional<RowValues> changes = CheckedChanges(*table, update.assignments);
  const std::optional<std::vector<values::Row>> rows =
      changes ? MatchingRows(*table, update.where) : std::nullopt;
  if (!rows) {
    return false;
  }
  for (const values::Row& row : *rows) {
    if (!store.UpdateRow(table->name, row.id, *changes)) {
      return false;
    }
  }
  return true;
}

bool RunDelete(TableStore& store, const DeleteStatement& remove) {
  const std::optional<StoredTable> table = store.ReadTable(remove.table);
  if (!table) {
    return false;
  }
  const std::optional<std::vector<values::Row>> rows = MatchingRows(*table, remove.where);
  if (!rows) {
    return false;
  }
  for (const values::Row& row : *rows) {
    if (!store.DeleteRow(table->name, row.id)) {
      return false;
    }
  }
  return true;
}

bool RunStatement(TableStore& store, std::string_view sql) {
  const std::optional<Statement> statement = ParseStatement(sql);
  if (!statement) {
    return false;
  }
  if (const auto* select = std::get_if<SelectStatement>(&*statement)) {
    return RunSelect(store, *select).has_value();
  }
  if (const auto* update = std::get_if<UpdateStatement>(&*statement)) {
    return RunUpdate(store, *update);
  }
  return RunDelete(store, std::get<DeleteStatement>(*statement));
}

}  // namespace lumora::services::sql
