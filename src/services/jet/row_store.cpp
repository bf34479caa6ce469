#include "services/jet/row_store.h"

#include <algorithm>

#include "services/jet/byte_writer.h"
#include "services/jet/data_page.h"
#include "services/jet/data_page_writer.h"
#include "services/jet/failure.h"
#include "services/jet/usage_map.h"
#include "services/jet/usage_map_writer.h"

namespace lumora::jet {
namespace {

constexpr std::size_t kRowCountOffset = 16;
constexpr std::size_t kAutoNumberOffset = 20;
constexpr std::size_t kIndexCountsOffset = 63;
constexpr std::size_t kIndexCountSize = 12;

bool ReadTablePage(const Pager& pager, const TableDefinition& table, std::uint32_t number,
                   Bytes& page) {
  return pager.ReadPage(number, PageType::kData, page) &&
         U32(page, kDataPageOwnerOffset) == table.page;
}

}  // namespace

std::optional<StoredRow> ReadStoredRow(const Pager& pager, const TableDefinition& table, RowId id) {
  Bytes page;
  if (!ReadTablePage(pager, table, id.page, page)) {
    return std::nullopt;
  }
  const std::optional<RowSlot> slot = ReadRowSlot(page, id.row);
  if (!slot || slot->deleted) {
    return std::nullopt;
  }
  StoredRow row;
  row.header = id;
  row.data = id;
  ByteView bytes = ByteView(page).subspan(slot->start, slot->end - slot->start);
  Bytes moved;
  if (slot->overflow) {
    if (bytes.size() < 4) {
      return std::nullopt;
    }
    const RowPointer target = ReadRowPointer(bytes, 0);
    if (!ReadTablePage(pager, table, target.page, moved)) {
      return std::nullopt;
    }
    const std::optional<RowSlot> data = ReadRowSlot(moved, target.row);
    if (!data || data->overflow) {
      return std::nullopt;
    }
    row.moved = true;
    row.data = RowId{target.page, target.row};
    bytes = ByteView(moved).subspan(data->start, data->end - data->start);
  }
  row.bytes.assign(bytes.begin(), bytes.end());
  return row;
}

RowId ChooseRowPlace(const Pager& pager, const TableDefinition& table, std::size_t size) {
  const std::vector<std::uint32_t> owned = UsageMapPages(pager, table.owned_pages);
  const std::vector<std::uint32_t> free = UsageMapPages(pager, table.free_space_pages);
  Bytes page;
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    if (!std::binary_search(free.begin(), free.end(), *it) ||
        !ReadTablePage(pager, table, *it, page)) {
      continue;
    }
    if (RowFits(page, size)) {
      return RowId{*it, static_cast<std::uint8_t>(RowCount(page))};
    }
  }
  return RowId{pager.PageCount(), 0};
}

bool PlaceRow(Pager& pager, const TableDefinition& table, RowId place, ByteView row,
              std::uint16_t flags) {
  if (place.page >= pager.PageCount()) {
    Bytes page = NewDataPage(table.page, pager.PageSize());
    JET_REFUSE_IF(!AddRow(page, row, flags), "the row does not fit an empty data page");
    const std::optional<std::uint32_t> number = pager.AppendPage(page);
    if (!number) {
      return false;
    }
    JET_REFUSE_IF(*number != place.page, "a new data page did not land where it was planned");
    return SetUsageMapBit(pager, kGlobalUsageMap, place.page, false, true) &&
           SetUsageMapBit(pager, table.owned_pages, place.page, true) &&
           SetUsageMapBit(pager, table.free_space_pages, place.page, true);
  }
  Bytes page;
  JET_REFUSE_IF(!ReadTablePage(pager, table, place.page, page),
                "the data page chosen for the row is not the table's");
  const std::optional<std::uint8_t> slot = AddRow(page, row, flags);
  JET_REFUSE_IF(!slot || *slot != place.row, "the row does not fit where it was planned");
  return pager.WritePage(place.page, page);
}

bool MarkRowDeleted(Pager& pager, RowId id) {
  Bytes page;
  const std::optional<RowSlot> slot =
      pager.ReadPage(id.page, PageType::kData, page) ? ReadRowSlot(page, id.row) : std::nullopt;
  JET_REFUSE_IF(!slot, "the row to mark deleted cannot be read");
  // The row's bytes (a password among them) go with it, in the same change.
  std::fill(page.begin() + static_cast<std::ptrdiff_t>(slot->start),
            page.begin() + static_cast<std::ptrdiff_t>(slot->end), 0);
  // Both flags, as Jet marks deleted rows: readers that take a lone 0x8000 for a moved row's
  // data would otherwise still list it.
  AddSlotFlags(page, id.row, kRowDeleted | kRowOverflow);
  return pager.WritePage(id.page, page);
}

bool WriteTableCounters(Pager& pager, const TableDefinition& table) {
  Bytes page;
  const std::size_t counts_end = kIndexCountsOffset + table.real_indexes.size() * kIndexCountSize;
  JET_REFUSE_IF(!pager.ReadPage(table.page, PageType::kTableDefinition, page),
                "the table definition page cannot be read");
  JET_REFUSE_IF(counts_end > page.size(), "the table's index counts lie past its definition page");
  PutU32(page, kRowCountOffset, table.row_count);
  PutU32(page, kAutoNumberOffset, table.autonumber);
  for (std::size_t index = 0; index < table.real_indexes.size(); ++index) {
    PutU32(page, kIndexCountsOffset + index * kIndexCountSize + 4,
           table.real_indexes[index].unique_entry_count);
  }
  return pager.WritePage(table.page, page);
}

}  // namespace lumora::jet
