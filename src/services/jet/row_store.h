// Where rows live on a table's data pages: reading the row behind a RowId, choosing a page with
// room for a new row, and placing it there or on a new page at the end of the file.
#pragma once

#include <optional>

#include "base/text.h"
#include "services/jet/pager.h"
#include "services/jet/table_definition.h"
#include "services/jet/table_reader.h"

namespace lumora::jet {

// A live row: its header slot and, for a moved row, the slot that holds its data.
struct StoredRow {
  RowId header;
  RowId data;
  bool moved = false;
  Bytes bytes;
};

// The row at `id` on one of the table's data pages; empty when it is deleted, not the table's,
// or damaged.
std::optional<StoredRow> ReadStoredRow(const Pager& pager, const TableDefinition& table, RowId id);

// The page and slot a row of `size` bytes would take: the last owned page with room that is in
// the free-space map, else a new page at the end of the file.
RowId ChooseRowPlace(const Pager& pager, const TableDefinition& table, std::size_t size);

// Writes `row` at `place` (from ChooseRowPlace, nothing written since) with slot flags `flags`.
// A new page is appended and added to the global, owned and free-space maps.
bool PlaceRow(Pager& pager, const TableDefinition& table, RowId place, ByteView row,
              std::uint16_t flags);

// Flags the slot `id` deleted and overwrites its bytes with zeros; every reader skips it from then
// on, and nothing of what it held stays in the file.
bool MarkRowDeleted(Pager& pager, RowId id);

// Rewrites the first TDEF page with the table's row count, AutoNumber and unique-key counts.
bool WriteTableCounters(Pager& pager, const TableDefinition& table);

}  // namespace lumora::jet
