#include "services/jet/table_layout.h"

#include "services/jet/byte_writer.h"
#include "services/jet/failure.h"
#include "services/jet/table_definition.h"

namespace lumora::jet {
namespace {

constexpr std::uint32_t kDefinitionMagic = 1625;
constexpr std::uint32_t kRealIndexMagic = 1923;
constexpr std::uint16_t kGeneralSortOrder = 1033;
constexpr std::size_t kHeaderSize = 63;
constexpr std::size_t kIndexSlots = 10;

void Append(Bytes& out, std::size_t count) {
  out.resize(out.size() + count, 0);
}

void AppendU8(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
}

void AppendU16(Bytes& out, std::uint32_t value) {
  Append(out, 2);
  PutU16(out, out.size() - 2, value);
}

void AppendU32(Bytes& out, std::uint32_t value) {
  Append(out, 4);
  PutU32(out, out.size() - 4, value);
}

void AppendPointer(Bytes& out, RowPointer pointer) {
  AppendU8(out, pointer.row);
  Append(out, 3);
  PutU24(out, out.size() - 3, pointer.page);
}

void AppendName(Bytes& out, const std::u16string& name) {
  AppendU16(out, static_cast<std::uint32_t>(name.size() * 2));
  for (char16_t c : name) {
    AppendU16(out, c);
  }
}

bool IsFixed(ColumnType type) {
  return FixedTypeSize(type) != 0 || type == ColumnType::kBoolean;
}

}  // namespace

std::optional<Bytes> BuildTableDefinitionPage(const TableLayout& table, std::uint32_t page_size) {
  std::size_t var_count = 0;
  for (const ColumnLayout& column : table.columns) {
    var_count += IsFixed(column.type) ? 0 : 1;
  }
  Bytes out;
  Append(out, 8);
  out[0] = static_cast<std::uint8_t>(PageType::kTableDefinition);
  out[1] = 0x01;
  AppendU32(out, 0);  // length, filled in below
  AppendU32(out, kDefinitionMagic);
  AppendU32(out, 0);  // rows
  AppendU32(out, 0);  // last AutoNumber
  AppendU8(out, 0x01);
  Append(out, 15);
  AppendU8(out, table.system ? 0x53 : 0x4E);
  AppendU16(out, static_cast<std::uint32_t>(table.columns.size()));
  AppendU16(out, static_cast<std::uint32_t>(var_count));
  AppendU16(out, static_cast<std::uint32_t>(table.columns.size()));
  AppendU32(out, static_cast<std::uint32_t>(table.indexes.size()));
  AppendU32(out, static_cast<std::uint32_t>(table.indexes.size()));
  AppendPointer(out, table.owned_pages);
  AppendPointer(out, table.free_space_pages);
  JET_REFUSE_IF(out.size() != kHeaderSize, "a table definition's header came out the wrong size");
  for (std::size_t index = 0; index < table.indexes.size(); ++index) {
    Append(out, 12);
  }

  std::uint16_t fixed_offset = 0;
  std::uint16_t var_index = 0;
  for (std::size_t number = 0; number < table.columns.size(); ++number) {
    const ColumnLayout& column = table.columns[number];
    const bool fixed = IsFixed(column.type);
    AppendU8(out, static_cast<std::uint8_t>(column.type));
    AppendU32(out, kDefinitionMagic);
    AppendU16(out, static_cast<std::uint32_t>(number));
    AppendU16(out, fixed ? 0 : var_index);
    AppendU16(out, static_cast<std::uint32_t>(number));
    if (column.type == ColumnType::kText || column.type == ColumnType::kMemo) {
      AppendU16(out, kGeneralSortOrder);
      AppendU16(out, 0);
    } else {
      AppendU32(out, 0);
    }
    std::uint8_t flags = kColumnNullable;
    if (fixed) {
      flags |= kColumnFixed;
    }
    if (column.auto_number) {
      flags |= kColumnAutoNumber;
    }
    AppendU8(out, flags);
    AppendU8(out, column.type == ColumnType::kText || column.type == ColumnType::kMemo
                      ? kColumnCompressedUnicode
                      : 0);
    AppendU32(out, 0);
    AppendU16(out, fixed ? fixed_offset : 0);
    const std::size_t size = fixed ? FixedTypeSize(column.type) : column.length;
    AppendU16(out, static_cast<std::uint32_t>(size));
    if (fixed) {
      fixed_offset = static_cast<std::uint16_t>(fixed_offset + size);
    } else {
      ++var_index;
    }
  }
  for (const ColumnLayout& column : table.columns) {
    AppendName(out, column.name);
  }
  for (const IndexLayout& index : table.indexes) {
    AppendU32(out, kRealIndexMagic);
    for (std::size_t slot = 0; slot < kIndexSlots; ++slot) {
      if (slot < index.columns.size()) {
        AppendU16(out, index.columns[slot]);
        AppendU8(out, 0x01);
      } else {
        AppendU16(out, 0xFFFF);
        AppendU8(out, 0x00);
      }
    }
    AppendPointer(out, index.usage_map);
    AppendU32(out, index.root_page);
    AppendU32(out, 0);
    AppendU8(out, index.flags);
    Append(out, 5);
  }
  for (std::size_t number = 0; number < table.indexes.size(); ++number) {
    AppendU32(out, kDefinitionMagic);
    AppendU32(out, static_cast<std::uint32_t>(number));
    AppendU32(out, static_cast<std::uint32_t>(number));
    AppendU8(out, 0);
    AppendU32(out, 0xFFFFFFFFu);
    AppendU32(out, 0);
    AppendU8(out, 0);
    AppendU8(out, 0);
    AppendU8(out, table.indexes[number].primary_key ? 1 : 0);
    AppendU32(out, 0);
  }
  for (const IndexLayout& index : table.indexes) {
    AppendName(out, index.name);
  }
  AppendU16(out, 0xFFFF);
  JET_REFUSE_IF(out.size() > page_size, "a table definition does not fit one page");
  PutU32(out, 8, static_cast<std::uint32_t>(out.size() - 8));
  PutU16(out, 2, static_cast<std::uint32_t>(page_size - out.size()));
  out.resize(page_size, 0);
  return out;
}

}  // namespace lumora::jet
