// Changing the rows of one table and keeping its indexes, maps and counters in step. Every
// check runs before the first write, so a refused change leaves the file as it was. Data pages
// are written before the index pages that point at them, and the table definition last.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "services/jet/pager.h"
#include "services/jet/table_definition.h"
#include "services/jet/table_reader.h"
#include "services/jet/values.h"

namespace lumora::jet {

// Whether this engine can change the table at all: every index encodable, no foreign keys.
bool TableWritable(const TableDefinition& table);

// Adds a row (`values` in column order). A Null AutoNumber column gets the next number, which
// is reported in `auto_number`. Updates `table` to what was written.
std::optional<RowId> InsertValues(Pager& pager, TableDefinition& table, std::vector<Value> values,
                                  std::int32_t* auto_number = nullptr);

// Replaces the values of the columns that `changes` holds (one entry per column; empty means
// unchanged). The row keeps its RowId.
bool UpdateValues(Pager& pager, TableDefinition& table, RowId row,
                  const std::vector<std::optional<Value>>& changes);

bool DeleteValues(Pager& pager, TableDefinition& table, RowId row);

// Adds every row `next` gives (in column order; a Null AutoNumber gets the next number), in one
// go: each row after the one before it on the table's pages, the indexes rebuilt once with all
// their new entries, the counters written once. How many rows were added; empty when a row does
// not fit, a unique key would repeat, a write failed, or the source abandoned them (writes may
// have been made then: the caller abandons the change).
std::optional<std::size_t> InsertManyValues(
    Pager& pager, TableDefinition& table,
    const std::function<RowSupply(std::vector<Value>&)>& next);

// Deletes every row of the table: each flagged deleted, the indexes emptied, the count 0.
bool DeleteAllValues(Pager& pager, TableDefinition& table);

}  // namespace lumora::jet
