// A new table's definition as this engine lays it out: columns, indexes and where its maps and
// index roots live, turned into the TDEF bytes of one page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "services/jet/data_page.h"
#include "services/jet/values.h"

namespace lumora::jet {

struct ColumnLayout {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  // Bytes: Text(n) takes 2n; 0 for Memo and OLE.
  std::uint16_t length = 0;
  bool auto_number = false;
};

struct IndexLayout {
  std::u16string name;
  std::vector<std::uint16_t> columns;
  std::uint8_t flags = 0x80;
  bool primary_key = false;
  RowPointer usage_map;
  std::uint32_t root_page = 0;
};

struct TableLayout {
  bool system = false;
  std::vector<ColumnLayout> columns;
  std::vector<IndexLayout> indexes;
  RowPointer owned_pages;
  RowPointer free_space_pages;
};

// The TDEF page (page size `page_size`); empty when the definition does not fit one page.
std::optional<Bytes> BuildTableDefinitionPage(const TableLayout& table, std::uint32_t page_size);

}  // namespace lumora::jet
