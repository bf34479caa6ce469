#include "services/jet/table_reader.h"

#include "platform/code_page.h"
#include "services/jet/data_page.h"
#include "services/jet/row_decoder.h"
#include "services/jet/usage_map.h"
#include "services/values/name_compare.h"

namespace lumora::jet {
namespace {

// Jet moves a row at most once; a longer chain is damage or a cycle.
constexpr int kMaxOverflowHops = 4;

}  // namespace

TableReader::TableReader(std::shared_ptr<const Pager> pager, TableDefinition definition)
    : pager_(std::move(pager)), definition_(std::move(definition)) {
  data_pages_ = UsageMapPages(*pager_, definition_.owned_pages);
}

std::optional<std::size_t> TableReader::FindColumn(const Text& name) const {
  const std::u16string wide = platform::GbkToWide(name);
  for (std::size_t index = 0; index < definition_.columns.size(); ++index) {
    if (values::SameName(definition_.columns[index].name, wide)) {
      return index;
    }
  }
  return std::nullopt;
}

Text TableReader::ColumnName(std::size_t index) const {
  if (index >= definition_.columns.size()) {
    return {};
  }
  return platform::WideToGbk(definition_.columns[index].name);
}

bool TableReader::ResolveRow(ByteView page, std::size_t slot, Bytes& storage, ByteView& row) const {
  std::optional<RowSlot> position = ReadRowSlot(page, slot);
  if (!position) {
    return false;
  }
  row = page.subspan(position->start, position->end - position->start);
  for (int hops = 0; position->overflow; ++hops) {
    if (hops == kMaxOverflowHops || row.size() < 4) {
      return false;
    }
    const RowPointer target = ReadRowPointer(row, 0);
    if (!pager_->ReadPage(target.page, PageType::kData, storage)) {
      return false;
    }
    position = ReadRowSlot(storage, target.row);
    if (!position) {
      return false;
    }
    row = ByteView(storage).subspan(position->start, position->end - position->start);
  }
  return true;
}

bool TableReader::Cursor::Next(Row& row) {
  const TableReader& table = *table_;
  Bytes moved;
  while (page_index_ < table.data_pages_.size()) {
    const std::uint32_t number = table.data_pages_[page_index_];
    if (!page_loaded_) {
      page_loaded_ = true;
      slot_ = 0;
      if (!table.pager_->ReadPage(number, PageType::kData, page_) ||
          U32(page_, kDataPageOwnerOffset) != table.definition_.page) {
        page_.clear();
      }
    }
    const std::size_t count = page_.empty() ? 0 : RowCount(page_);
    while (slot_ < count) {
      const std::size_t slot = slot_++;
      const std::optional<RowSlot> header = ReadRowSlot(page_, slot);
      ByteView bytes;
      if (!header || header->deleted || !table.ResolveRow(page_, slot, moved, bytes)) {
        continue;
      }
      std::optional<std::vector<Value>> values = DecodeRow(*table.pager_, table.definition_, bytes);
      if (!values) {
        continue;
      }
      row.id = RowId{number, static_cast<std::uint8_t>(slot)};
      row.values = std::move(*values);
      return true;
    }
    ++page_index_;
    page_loaded_ = false;
  }
  return false;
}

std::vector<Row> TableReader::ReadAll() const {
  std::vector<Row> rows;
  Cursor cursor = Rows();
  Row row;
  while (cursor.Next(row)) {
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace lumora::jet
