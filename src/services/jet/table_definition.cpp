#include "services/jet/table_definition.h"

#include <algorithm>

namespace lumora::jet {
namespace {

constexpr std::size_t kNextPageOffset = 4;
constexpr std::size_t kPageHeader = 8;
constexpr std::size_t kRealIndexCountsStart = 63;
constexpr std::size_t kRealIndexCountSize = 12;
constexpr std::size_t kColumnSize = 25;
constexpr std::size_t kRealIndexSize = 52;
constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::size_t kLogicalIndexSize = 28;
constexpr std::size_t kLongValueMapSize = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;

// Reads a u16 byte length and that many bytes of UTF-16LE; advances `offset`.
bool ReadName(ByteView stream, std::size_t& offset, std::u16string& name) {
  if (!Fits(stream, offset, 2)) {
    return false;
  }
  const std::size_t length = U16(stream, offset);
  offset += 2;
  if (!Fits(stream, offset, length)) {
    return false;
  }
  name.clear();
  for (std::size_t index = 0; index + 1 < length; index += 2) {
    name.push_back(static_cast<char16_t>(U16(stream, offset + index)));
  }
  offset += length;
  return true;
}

Column ParseColumn(ByteView block) {
  Column column;
  column.type = static_cast<ColumnType>(U8(block, 0));
  column.number = U16(block, 5);
  column.var_index = U16(block, 7);
  column.sort_order = U16(block, 11);
  column.sort_version = U8(block, 14);
  column.precision = U8(block, 11);
  column.scale = U8(block, 12);
  column.flags = U8(block, 15);
  column.extended_flags = U8(block, 16);
  column.fixed_offset = U16(block, 21);
  column.length = U16(block, 23);
  return column;
}

RealIndex ParseRealIndex(ByteView block) {
  RealIndex index;
  for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
    const std::uint16_t number = U16(block, 4 + slot * 3);
    if (number != kNoColumn) {
      index.columns.push_back(IndexColumn{number, U8(block, 4 + slot * 3 + 2) == 0x01});
    }
  }
  index.usage_map = ReadRowPointer(block, 34);
  index.root_page = U32(block, 38);
  index.flags = U8(block, 46);
  return index;
}

LogicalIndex ParseLogicalIndex(ByteView block) {
  LogicalIndex index;
  index.number = U32(block, 4);
  index.real_index = U32(block, 8);
  index.related_table_page = U32(block, 17);
  const std::uint8_t kind = U8(block, 23);
  index.kind = kind <= 2 ? static_cast<LogicalIndexKind>(kind) : LogicalIndexKind::kOther;
  return index;
}

}  // namespace

std::optional<Bytes> ReadTableDefinitionBytes(const Pager& pager, std::uint32_t page) {
  Bytes stream;
  Bytes buffer;
  std::uint32_t current = page;
  // Each page of the chain is visited at most once in a file of this many pages.
  for (std::uint32_t hops = 0; hops < pager.PageCount(); ++hops) {
    if (!pager.ReadPage(current, PageType::kTableDefinition, buffer)) {
      return std::nullopt;
    }
    stream.insert(stream.end(), buffer.begin() + (stream.empty() ? 0 : kPageHeader), buffer.end());
    current = U32(buffer, kNextPageOffset);
    if (current == 0) {
      return stream;
    }
  }
  return std::nullopt;
}

std::optional<TableDefinition> ParseTableDefinition(ByteView stream, std::uint32_t page) {
  if (!Fits(stream, 0, kRealIndexCountsStart)) {
    return std::nullopt;
  }
  TableDefinition table;
  table.page = page;
  table.row_count = U32(stream, 16);
  table.autonumber = U32(stream, 20);
  table.system_table = U8(stream, 40) == 0x53;
  table.max_columns = U16(stream, 41);
  table.var_column_count = U16(stream, 43);
  const std::size_t column_count = U16(stream, 45);
  const std::size_t logical_count = U32(stream, 47);
  const std::size_t real_count = U32(stream, 51);
  table.owned_pages = ReadRowPointer(stream, 55);
  table.free_space_pages = ReadRowPointer(stream, 59);

  std::size_t offset = kRealIndexCountsStart;
  if (real_count > stream.size() / kRealIndexSize ||
      !Fits(stream, offset, real_count * kRealIndexCountSize)) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> unique_counts;
  for (std::size_t index = 0; index < real_count; ++index) {
    unique_counts.push_back(U32(stream, offset + 4));
    offset += kRealIndexCountSize;
  }

  if (!Fits(stream, offset, column_count * kColumnSize)) {
    return std::nullopt;
  }
  for (std::size_t index = 0; index < column_count; ++index) {
    table.columns.push_back(ParseColumn(Slice(stream, offset, kColumnSize)));
    offset += kColumnSize;
  }
  for (Column& column : table.columns) {
    if (!ReadName(stream, offset, column.name)) {
      return std::nullopt;
    }
  }

  if (!Fits(stream, offset, real_count * kRealIndexSize)) {
    return std::nullopt;
  }
  for (std::size_t index = 0; index < real_count; ++index) {
    table.real_indexes.push_back(ParseRealIndex(Slice(stream, offset, kRealIndexSize)));
    table.real_indexes.back().unique_entry_count = unique_counts[index];
    offset += kRealIndexSize;
  }

  if (logical_count > stream.size() / kLogicalIndexSize ||
      !Fits(stream, offset, logical_count * kLogicalIndexSize)) {
    return std::nullopt;
  }
  for (std::size_t index = 0; index < logical_count; ++index) {
    table.logical_indexes.push_back(ParseLogicalIndex(Slice(stream, offset, kLogicalIndexSize)));
    offset += kLogicalIndexSize;
  }
  for (LogicalIndex& index : table.logical_indexes) {
    if (!ReadName(stream, offset, index.name)) {
      return std::nullopt;
    }
  }

  // The long-value map list ends the definition; a definition that ends before it keeps what
  // it has. Bytes past the stated length are left-overs of the page.
  const std::size_t defined_length = std::size_t{U32(stream, 8)} + 8;
  const ByteView defined = Fits(stream, 0, defined_length) ? stream.first(defined_length) : stream;
  while (Fits(defined, offset, kLongValueMapSize) && U16(defined, offset) != kNoColumn) {
    table.long_value_maps.push_back(LongValueMaps{U16(defined, offset),
                                                  ReadRowPointer(defined, offset + 2),
                                                  ReadRowPointer(defined, offset + 6)});
    offset += kLongValueMapSize;
  }

  std::stable_sort(table.columns.begin(), table.columns.end(),
                   [](const Column& a, const Column& b) { return a.number < b.number; });
  return table;
}

std::optional<TableDefinition> ReadTableDefinition(const Pager& pager, std::uint32_t page) {
  const std::optional<Bytes> stream = ReadTableDefinitionBytes(pager, page);
  if (!stream) {
    return std::nullopt;
  }
  return ParseTableDefinition(*stream, page);
}

}  // namespace lumora::jet
