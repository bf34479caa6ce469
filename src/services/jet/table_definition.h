// A table definition (TDEF) as stored over one or more chained pages: columns, indexes and
// the usage maps of the table's pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "services/jet/data_page.h"
#include "services/jet/pager.h"
#include "services/jet/values.h"

namespace lumora::jet {

// Bytes a value of a fixed-size type takes in the fixed area; 0 for the others (Boolean lives
// in the null mask, text and binary take the column's declared length).
constexpr std::size_t FixedTypeSize(ColumnType type) {
  switch (type) {
    case ColumnType::kByte:
      return 1;
    case ColumnType::kInteger:
      return 2;
    case ColumnType::kLong:
    case ColumnType::kSingle:
      return 4;
    case ColumnType::kCurrency:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
      return 8;
    case ColumnType::kGuid:
      return 16;
    case ColumnType::kNumeric:
      return 17;
    default:
      return 0;
  }
}

inline constexpr std::uint8_t kColumnFixed = 0x01;
inline constexpr std::uint8_t kColumnNullable = 0x02;
inline constexpr std::uint8_t kColumnAutoNumber = 0x04;
inline constexpr std::uint8_t kColumnGuidAutoNumber = 0x40;
inline constexpr std::uint8_t kColumnHyperlink = 0x80;
inline constexpr std::uint8_t kColumnCompressedUnicode = 0x01;  // extended flags

struct Column {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  // The column's bit in the null mask.
  std::uint16_t number = 0;
  // Position in the row's variable-offset table (variable-length columns only).
  std::uint16_t var_index = 0;
  // Offset inside the fixed area (fixed-length columns only).
  std::uint16_t fixed_offset = 0;
  // Declared length in bytes (Text(255) is 510).
  std::uint16_t length = 0;
  std::uint8_t flags = 0;
  std::uint8_t extended_flags = 0;
  // Text columns: sort order LCID and version. Numeric columns: precision and scale.
  std::uint16_t sort_order = 0;
  std::uint8_t sort_version = 0;
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;

  bool IsFixed() const { return (flags & kColumnFixed) != 0; }
  bool IsAutoNumber() const { return (flags & kColumnAutoNumber) != 0; }
};

struct IndexColumn {
  std::uint16_t column_number = 0;
  bool ascending = true;
};

// A physical index: the B-tree that holds the keys.
struct RealIndex {
  std::vector<IndexColumn> columns;
  RowPointer usage_map;
  std::uint32_t root_page = 0;
  std::uint8_t flags = 0;
  std::uint32_t unique_entry_count = 0;

  bool IsUnique() const { return (flags & 0x01) != 0; }
};

enum class LogicalIndexKind : std::uint8_t { kOther = 0, kPrimaryKey = 1, kForeignKey = 2 };

// A named index as the user sees it; several may share one real index.
struct LogicalIndex {
  std::u16string name;
  std::uint32_t number = 0;
  std::uint32_t real_index = 0;
  std::uint32_t related_table_page = 0;
  LogicalIndexKind kind = LogicalIndexKind::kOther;
};

// Owned and free-space maps of one Memo or OLE column.
struct LongValueMaps {
  std::uint16_t column_number = 0;
  RowPointer owned;
  RowPointer free;
};

struct TableDefinition {
  std::uint32_t page = 0;
  std::uint32_t row_count = 0;
  // The last AutoNumber value handed out.
  std::uint32_t autonumber = 0;
  bool system_table = false;
  std::uint16_t max_columns = 0;
  std::uint16_t var_column_count = 0;
  // Sorted by column number.
  std::vector<Column> columns;
  std::vector<RealIndex> real_indexes;
  std::vector<LogicalIndex> logical_indexes;
  RowPointer owned_pages;
  RowPointer free_space_pages;
  std::vector<LongValueMaps> long_value_maps;
};

// The TDEF stream that starts on `page`, its continuation pages appended.
std::optional<Bytes> ReadTableDefinitionBytes(const Pager& pager, std::uint32_t page);

// Parses a TDEF stream; empty when any part lies outside it.
std::optional<TableDefinition> ParseTableDefinition(ByteView stream, std::uint32_t page);

std::optional<TableDefinition> ReadTableDefinition(const Pager& pager, std::uint32_t page);

}  // namespace lumora::jet
