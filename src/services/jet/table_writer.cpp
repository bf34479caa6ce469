#include "services/jet/table_writer.h"

#include <algorithm>
#include <iterator>

#include "services/jet/btree_patch.h"
#include "services/jet/btree_writer.h"
#include "services/jet/data_page.h"
#include "services/jet/data_page_writer.h"
#include "services/jet/failure.h"
#include "services/jet/index_key.h"
#include "services/jet/index_page.h"
#include "services/jet/row_decoder.h"
#include "services/jet/row_encoder.h"
#include "services/jet/row_store.h"
#include "services/jet/usage_map.h"

namespace lumora::jet {
namespace {

constexpr std::uint8_t kIgnoreNulls = 0x02;

// One index's change: either patches of the pages on one entry's path, or, where a patch cannot
// do, every entry of the tree loaded, changed in memory and written back as a new tree.
struct IndexChange {
  bool loaded = false;
  std::vector<Bytes> entries;
  std::vector<std::uint32_t> pages;
  bool changed = false;
  std::vector<PagePatch> patches;
  // How the patches move the count of distinct keys.
  int distinct_change = 0;
};

bool AllNull(ByteView key, const RealIndex& index) {
  // Null columns are a lone 0x00 flag byte; a key of only those has one byte per column.
  return key.size() == index.columns.size() &&
         std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0; });
}

ByteView KeyOf(const Bytes& entry) {
  return ByteView(entry).first(entry.size() - kLeafPointerSize);
}

bool SameKey(ByteView a, ByteView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool Load(const Pager& pager, const TableDefinition& table, std::size_t index,
          IndexChange& change) {
  if (change.loaded) {
    return true;
  }
  std::optional<IndexContents> contents =
      ReadIndexTree(pager, table.page, table.real_indexes[index].root_page);
  JET_REFUSE_IF(!contents, "an index tree of the table cannot be read");
  change.entries = std::move(contents->entries);
  change.pages = std::move(contents->pages);
  change.loaded = true;
  return true;
}

// A patch stands in for the whole tree only where the count of distinct keys then moves by
// exactly one (a unique index, a key that is not all Null) and it is the index's one change.
bool Patchable(const RealIndex& index, ByteView key, const IndexChange& change, bool allowed) {
  return allowed && index.IsUnique() && !AllNull(key, index) && !change.loaded &&
         change.patches.empty();
}

bool RemoveEntry(const Pager& pager, const TableDefinition& table, std::size_t index,
                 IndexChange& change, ByteView key, RowId row, bool patch_allowed) {
  const Bytes entry = LeafEntry(key, row);
  if (Patchable(table.real_indexes[index], key, change, patch_allowed)) {
    if (PlanEntryRemoval(pager, table.page, table.real_indexes[index], entry, change.patches) ==
        PatchPlan::kPatched) {
      change.distinct_change = -1;
      return true;
    }
    change.patches.clear();
  }
  if (!Load(pager, table, index, change)) {
    return false;
  }
  const auto found = std::find(change.entries.begin(), change.entries.end(), entry);
  JET_REFUSE_IF(found == change.entries.end(), "an index does not list the row");
  change.entries.erase(found);
  change.changed = true;
  return true;
}

// False when a unique index already holds the key.
bool AddEntry(const Pager& pager, const TableDefinition& table, std::size_t index,
              IndexChange& change, ByteView key, RowId row, bool patch_allowed) {
  const RealIndex& real = table.real_indexes[index];
  if ((real.flags & kIgnoreNulls) != 0 && AllNull(key, real)) {
    return true;
  }
  Bytes entry = LeafEntry(key, row);
  if (Patchable(real, key, change, patch_allowed)) {
    switch (PlanEntryInsert(pager, table.page, real, entry, true, change.patches)) {
      case PatchPlan::kPatched:
        change.distinct_change = 1;
        return true;
      case PatchPlan::kDuplicate:
        JET_REFUSE("a unique key would repeat");
      case PatchPlan::kRebuild:
        change.patches.clear();
        break;
    }
  }
  if (!Load(pager, table, index, change)) {
    return false;
  }
  if (real.IsUnique() && !AllNull(key, real)) {
    for (const Bytes& existing : change.entries) {
      JET_REFUSE_IF(SameKey(KeyOf(existing), key), "a unique key would repeat");
    }
  }
  change.entries.insert(std::upper_bound(change.entries.begin(), change.entries.end(), entry),
                        std::move(entry));
  change.changed = true;
  return true;
}

std::optional<std::vector<Bytes>> KeysOf(const TableDefinition& table,
                                         const std::vector<Value>& values) {
  std::vector<Bytes> keys;
  for (const RealIndex& index : table.real_indexes) {
    std::optional<Bytes> key = EncodeIndexKey(table, index, values);
    JET_REFUSE_IF(!key, "a value cannot be put into an index key");
    keys.push_back(std::move(*key));
  }
  return keys;
}

bool WriteIndexes(Pager& pager, TableDefinition& table, const std::vector<IndexChange>& changes) {
  for (std::size_t index = 0; index < changes.size(); ++index) {
    RealIndex& real = table.real_indexes[index];
    if (!changes[index].patches.empty()) {
      for (const PagePatch& patch : changes[index].patches) {
        if (!pager.WritePage(patch.number, patch.bytes)) {
          return false;
        }
      }
      if (changes[index].distinct_change > 0 || real.unique_entry_count > 0) {
        real.unique_entry_count += static_cast<std::uint32_t>(changes[index].distinct_change);
      }
      continue;
    }
    if (!changes[index].changed) {
      continue;
    }
    if (!WriteIndexTree(pager, table.page, real, changes[index].entries, changes[index].pages)) {
      return false;
    }
    real.unique_entry_count = DistinctKeys(changes[index].entries);
  }
  return true;
}

bool Finish(Pager& pager, TableDefinition& table, const std::vector<IndexChange>& changes) {
  return pager.Flush() && WriteIndexes(pager, table, changes) && pager.Flush() &&
         WriteTableCounters(pager, table) && pager.Flush();
}

std::optional<std::size_t> AutoNumberColumn(const TableDefinition& table) {
  for (std::size_t index = 0; index < table.columns.size(); ++index) {
    if (table.columns[index].IsAutoNumber() && table.columns[index].type == ColumnType::kLong) {
      return index;
    }
  }
  return std::nullopt;
}

bool SameKeyAs(const Bytes& a, const Bytes& b) {
  return SameKey(KeyOf(a), KeyOf(b));
}

// Places rows one after another: on the page ChooseRowPlace gives for the first, then on new
// pages at the end of the file, each page written when the next one starts.
class RowFiller {
 public:
  RowFiller(Pager& pager, const TableDefinition& table) : pager_(pager), table_(table) {}

  std::optional<RowId> Place(ByteView row) {
    if (!current_) {
      const RowId place = ChooseRowPlace(pager_, table_, row.size());
      if (place.page < pager_.PageCount()) {
        Bytes page;
        JET_REFUSE_IF(!pager_.ReadPage(place.page, PageType::kData, page),
                      "a data page of the table cannot be read");
        current_ = place.page;
        page_ = std::move(page);
      }
    }
    if (current_) {
      const std::optional<std::uint8_t> slot = AddRow(page_, row);
      if (slot) {
        return RowId{*current_, *slot};
      }
      if (!Flush()) {
        return std::nullopt;
      }
    }
    // A new page, its map bits set as for any row placed on a new page.
    const RowId place{pager_.PageCount(), 0};
    if (!PlaceRow(pager_, table_, place, row, 0)) {
      return std::nullopt;
    }
    JET_REFUSE_IF(!pager_.ReadPage(place.page, PageType::kData, page_),
                  "a new data page cannot be read back");
    current_ = place.page;
    return place;
  }

  bool Flush() {
    const bool written = !current_ || pager_.WritePage(*current_, page_);
    current_.reset();
    return written;
  }

 private:
  Pager& pager_;
  const TableDefinition& table_;
  std::optional<std::uint32_t> current_;
  Bytes page_;
};

}  // namespace

bool TableWritable(const TableDefinition& table) {
  for (const LogicalIndex& logical : table.logical_indexes) {
    JET_REFUSE_IF(logical.kind == LogicalIndexKind::kForeignKey,
                  "the table has a foreign key, which this engine does not keep");
  }
  for (const RealIndex& index : table.real_indexes) {
    JET_REFUSE_IF(!IndexKeysSupported(table, index),
                  "an index of the table has keys this engine cannot encode");
  }
  return true;
}

std::optional<RowId> InsertValues(Pager& pager, TableDefinition& table, std::vector<Value> values,
                                  std::int32_t* auto_number) {
  JET_REFUSE_IF(!pager.Writable(), "the file is open for reading only");
  if (!TableWritable(table)) {
    return std::nullopt;
  }
  JET_REFUSE_IF(values.size() != table.columns.size(), "a row needs one value per column");
  TableDefinition updated = table;
  const std::optional<std::size_t> counter = AutoNumberColumn(table);
  if (counter && IsNull(values[*counter])) {
    JET_REFUSE_IF(table.autonumber >= 0x7FFFFFFFu, "the table's AutoNumber is used up");
    updated.autonumber = table.autonumber + 1;
    values[*counter] = static_cast<std::int32_t>(updated.autonumber);
  }
  const std::optional<Bytes> row = EncodeRow(table, values);
  const std::optional<std::vector<Bytes>> keys = row ? KeysOf(table, values) : std::nullopt;
  if (!keys) {
    return std::nullopt;
  }
  std::vector<IndexChange> changes(table.real_indexes.size());
  const RowId place = ChooseRowPlace(pager, table, row->size());
  for (std::size_t index = 0; index < changes.size(); ++index) {
    if (!AddEntry(pager, table, index, changes[index], (*keys)[index], place, true)) {
      return std::nullopt;
    }
  }
  if (!PlaceRow(pager, table, place, *row, 0)) {
    return std::nullopt;
  }
  ++updated.row_count;
  if (!Finish(pager, updated, changes)) {
    return std::nullopt;
  }
  table = std::move(updated);
  if (auto_number && counter) {
    *auto_number = std::get<std::int32_t>(values[*counter]);
  }
  return place;
}

bool UpdateValues(Pager& pager, TableDefinition& table, RowId id,
                  const std::vector<std::optional<Value>>& changes) {
  JET_REFUSE_IF(!pager.Writable(), "the file is open for reading only");
  if (!TableWritable(table)) {
    return false;
  }
  JET_REFUSE_IF(changes.size() != table.columns.size(), "a row needs one value per column");
  const std::optional<StoredRow> stored = ReadStoredRow(pager, table, id);
  JET_REFUSE_IF(!stored, "the row to change is not a live row of the table");
  const std::optional<std::vector<Value>> old_values = DecodeRow(pager, table, stored->bytes);
  JET_REFUSE_IF(!old_values, "the row to change cannot be decoded");
  std::vector<Value> values = *old_values;
  for (std::size_t index = 0; index < changes.size(); ++index) {
    if (!changes[index]) {
      continue;
    }
    JET_REFUSE_IF(table.columns[index].IsAutoNumber() && *changes[index] != values[index],
                  "an AutoNumber does not change");
    values[index] = *changes[index];
  }
  const std::optional<Bytes> row = EncodeRow(table, values);
  if (!row) {
    return false;
  }
  const std::optional<std::vector<Bytes>> old_keys = KeysOf(table, *old_values);
  const std::optional<std::vector<Bytes>> new_keys =
      old_keys ? KeysOf(table, values) : std::nullopt;
  if (!new_keys) {
    return false;
  }
  // A key that changes is one removal and one insert in the same tree: done in memory on the
  // whole tree, as a patch plans against the pages as they are on disk.
  std::vector<IndexChange> indexes(table.real_indexes.size());
  for (std::size_t index = 0; index < indexes.size(); ++index) {
    if ((*old_keys)[index] == (*new_keys)[index]) {
      continue;
    }
    IndexChange& change = indexes[index];
    const RealIndex& real = table.real_indexes[index];
    const bool was_listed =
        !((real.flags & kIgnoreNulls) != 0 && AllNull((*old_keys)[index], real));
    if ((was_listed && !RemoveEntry(pager, table, index, change, (*old_keys)[index], id, false)) ||
        !AddEntry(pager, table, index, change, (*new_keys)[index], id, false)) {
      return false;
    }
  }

  if (row->size() <= stored->bytes.size()) {
    // In place: the row keeps its length and slot.
    const std::optional<Bytes> padded = EncodeRow(table, values, stored->bytes.size());
    if (!padded) {
      return false;
    }
    JET_REFUSE_IF(padded->size() != stored->bytes.size(), "the row does not keep its length");
    Bytes page;
    JET_REFUSE_IF(!pager.ReadPage(stored->data.page, PageType::kData, page),
                  "the row's data page cannot be read");
    const std::optional<RowSlot> slot = ReadRowSlot(page, stored->data.row);
    JET_REFUSE_IF(!slot || slot->end - slot->start != padded->size(),
                  "the row's slot does not hold the row");
    std::copy(padded->begin(), padded->end(),
              page.begin() + static_cast<std::ptrdiff_t>(slot->start));
    if (!pager.WritePage(stored->data.page, page)) {
      return false;
    }
  } else {
    // The new data goes elsewhere, hidden from scans, and the header row points at it.
    const RowId place = ChooseRowPlace(pager, table, row->size());
    if (!PlaceRow(pager, table, place, *row, kRowDeleted) || !pager.Flush()) {
      return false;
    }
    Bytes page;
    JET_REFUSE_IF(!pager.ReadPage(id.page, PageType::kData, page),
                  "the row's header page cannot be read");
    const std::optional<RowSlot> slot = ReadRowSlot(page, id.row);
    JET_REFUSE_IF(!slot || slot->end - slot->start < 4,
                  "the row's header slot has no room for a pointer");
    std::fill(page.begin() + static_cast<std::ptrdiff_t>(slot->start),
              page.begin() + static_cast<std::ptrdiff_t>(slot->end), 0);
    page[slot->start] = place.row;
    page[slot->start + 1] = static_cast<std::uint8_t>(place.page);
    page[slot->start + 2] = static_cast<std::uint8_t>(place.page >> 8);
    page[slot->start + 3] = static_cast<std::uint8_t>(place.page >> 16);
    AddSlotFlags(page, id.row, kRowOverflow);
    if (!pager.WritePage(id.page, page)) {
      return false;
    }
    // The data the row had moved to before is abandoned; its space stays until a compact.
    if (stored->moved && !MarkRowDeleted(pager, stored->data)) {
      return false;
    }
  }
  TableDefinition updated = table;
  if (!Finish(pager, updated, indexes)) {
    return false;
  }
  table = std::move(updated);
  return true;
}

bool DeleteValues(Pager& pager, TableDefinition& table, RowId id) {
  JET_REFUSE_IF(!pager.Writable(), "the file is open for reading only");
  if (!TableWritable(table)) {
    return false;
  }
  JET_REFUSE_IF(table.row_count == 0, "the table counts no rows to delete");
  const std::optional<StoredRow> stored = ReadStoredRow(pager, table, id);
  JET_REFUSE_IF(!stored, "the row to delete is not a live row of the table");
  const std::optional<std::vector<Value>> values = DecodeRow(pager, table, stored->bytes);
  JET_REFUSE_IF(!values, "the row to delete cannot be decoded");
  const std::optional<std::vector<Bytes>> keys = KeysOf(table, *values);
  if (!keys) {
    return false;
  }
  std::vector<IndexChange> indexes(table.real_indexes.size());
  for (std::size_t index = 0; index < indexes.size(); ++index) {
    const RealIndex& real = table.real_indexes[index];
    if ((real.flags & kIgnoreNulls) != 0 && AllNull((*keys)[index], real)) {
      continue;
    }
    if (!RemoveEntry(pager, table, index, indexes[index], (*keys)[index], id, true)) {
      return false;
    }
  }
  if (!MarkRowDeleted(pager, id) || (stored->moved && !MarkRowDeleted(pager, stored->data))) {
    return false;
  }
  TableDefinition updated = table;
  --updated.row_count;
  if (!Finish(pager, updated, indexes)) {
    return false;
  }
  table = std::move(updated);
  return true;
}

std::optional<std::size_t> InsertManyValues(
    Pager& pager, TableDefinition& table,
    const std::function<RowSupply(std::vector<Value>&)>& next) {
  JET_REFUSE_IF(!pager.Writable(), "the file is open for reading only");
  if (!TableWritable(table)) {
    return std::nullopt;
  }
  TableDefinition updated = table;
  const std::optional<std::size_t> counter = AutoNumberColumn(table);
  std::vector<std::vector<Bytes>> added(table.real_indexes.size());
  RowFiller filler(pager, table);
  std::size_t count = 0;
  for (std::vector<Value> values;;) {
    values.assign(table.columns.size(), Value());
    const RowSupply supply = next(values);
    JET_REFUSE_IF(supply == RowSupply::kAbandon, "the source of the rows abandoned them");
    if (supply == RowSupply::kEnd) {
      break;
    }
    JET_REFUSE_IF(values.size() != table.columns.size(), "a row needs one value per column");
    if (counter && IsNull(values[*counter])) {
      JET_REFUSE_IF(updated.autonumber >= 0x7FFFFFFFu, "the table's AutoNumber is used up");
      ++updated.autonumber;
      values[*counter] = static_cast<std::int32_t>(updated.autonumber);
    }
    const std::optional<Bytes> row = EncodeRow(table, values);
    const std::optional<std::vector<Bytes>> keys = row ? KeysOf(table, values) : std::nullopt;
    if (!keys) {
      return std::nullopt;
    }
    const std::optional<RowId> place = filler.Place(*row);
    if (!place) {
      return std::nullopt;
    }
    for (std::size_t index = 0; index < added.size(); ++index) {
      const RealIndex& real = table.real_indexes[index];
      if ((real.flags & kIgnoreNulls) == 0 || !AllNull((*keys)[index], real)) {
        added[index].push_back(LeafEntry((*keys)[index], *place));
      }
    }
    ++count;
  }
  if (!filler.Flush() || !pager.Flush()) {
    return std::nullopt;
  }
  for (std::size_t index = 0; index < added.size(); ++index) {
    RealIndex& real = updated.real_indexes[index];
    std::optional<IndexContents> contents = ReadIndexTree(pager, table.page, real.root_page);
    JET_REFUSE_IF(!contents, "an index tree of the table cannot be read");
    std::vector<Bytes>& fresh = added[index];
    std::sort(fresh.begin(), fresh.end());
    std::vector<Bytes> entries;
    entries.reserve(contents->entries.size() + fresh.size());
    std::merge(std::make_move_iterator(contents->entries.begin()),
               std::make_move_iterator(contents->entries.end()),
               std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()),
               std::back_inserter(entries));
    fresh = {};
    if (real.IsUnique()) {
      for (std::size_t at = 1; at < entries.size(); ++at) {
        JET_REFUSE_IF(SameKeyAs(entries[at - 1], entries[at]) && !AllNull(KeyOf(entries[at]), real),
                      "a unique key would repeat");
      }
    }
    if (!WriteIndexTree(pager, table.page, real, entries, contents->pages) || !pager.Flush()) {
      return std::nullopt;
    }
    real.unique_entry_count = DistinctKeys(entries);
  }
  updated.row_count += static_cast<std::uint32_t>(count);
  if (!WriteTableCounters(pager, updated) || !pager.Flush()) {
    return std::nullopt;
  }
  table = std::move(updated);
  return count;
}

bool DeleteAllValues(Pager& pager, TableDefinition& table) {
  JET_REFUSE_IF(!pager.Writable(), "the file is open for reading only");
  if (!TableWritable(table)) {
    return false;
  }
  std::vector<RowId> live;
  Bytes page;
  for (const std::uint32_t number : UsageMapPages(pager, table.owned_pages)) {
    if (!pager.ReadPage(number, PageType::kData, page) ||
        U32(page, kDataPageOwnerOffset) != table.page) {
      continue;
    }
    for (std::size_t slot = 0; slot < RowCount(page); ++slot) {
      const std::optional<RowSlot> header = ReadRowSlot(page, slot);
      if (header && !header->deleted) {
        live.push_back(RowId{number, static_cast<std::uint8_t>(slot)});
      }
    }
  }
  for (const RowId id : live) {
    const std::optional<StoredRow> stored = ReadStoredRow(pager, table, id);
    JET_REFUSE_IF(!stored, "a row to delete cannot be read");
    if (!MarkRowDeleted(pager, id) || (stored->moved && !MarkRowDeleted(pager, stored->data))) {
      return false;
    }
  }
  TableDefinition updated = table;
  for (RealIndex& real : updated.real_indexes) {
    const std::optional<IndexContents> contents = ReadIndexTree(pager, table.page, real.root_page);
    JET_REFUSE_IF(!contents, "an index tree of the table cannot be read");
    if (!WriteIndexTree(pager, table.page, real, {}, contents->pages)) {
      return false;
    }
    real.unique_entry_count = 0;
  }
  updated.row_count = 0;
  if (!pager.Flush() || !WriteTableCounters(pager, updated) || !pager.Flush()) {
    return false;
  }
  table = std::move(updated);
  return true;
}

}  // namespace lumora::jet
