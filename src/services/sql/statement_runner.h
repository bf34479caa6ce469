// Runs parsed statements against a table store.
#pragma once

#include <optional>
#include <string_view>

#include "services/sql/statement.h"
#include "services/sql/table_store.h"

namespace lumora::services::sql {

// The table with only the rows the condition holds for; empty when the table is unknown or the
// condition cannot be evaluated.
std::optional<StoredTable> RunSelect(const TableStore& store, const SelectStatement& select);

// Every change is checked before the first one is made. False when the table, a column or a
// value is refused, or when the store refuses a change (earlier rows then stay changed, as the
// store has no transactions).
bool RunUpdate(TableStore& store, const UpdateStatement& update);
bool RunDelete(TableStore& store, const DeleteStatement& remove);

// Parses and runs one statement (a SELECT is evaluated and its rows dropped).
bool RunStatement(TableStore& store, std::string_view sql);

}  // namespace lumora::services::sql
