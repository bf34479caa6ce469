#include "services/jet/row_decoder.h"

#include <algorithm>
#include <bit>

#include "services/jet/long_value.h"
#include "services/jet/text_codec.h"

namespace lumora::jet {
namespace {

struct RowLayout {
  std::size_t column_count = 0;
  ByteView null_mask;
  // Offsets of the variable columns, ending with the end-of-data offset.
  std::vector<std::size_t> var_offsets;
};

bool HasVariableColumns(const TableDefinition& table) {
  return table.var_column_count > 0 ||
         std::any_of(table.columns.begin(), table.columns.end(),
                     [](const Column& column) { return !column.IsFixed(); });
}

std::optional<RowLayout> ReadLayout(const TableDefinition& table, ByteView row) {
  if (!Fits(row, 0, 2)) {
    return std::nullopt;
  }
  RowLayout layout;
  layout.column_count = U16(row, 0);
  const std::size_t mask_length = (layout.column_count + 7) / 8;
  if (!Fits(row, 2, mask_length)) {
    return std::nullopt;
  }
  const std::size_t mask_start = row.size() - mask_length;
  layout.null_mask = row.subspan(mask_start, mask_length);
  if (!HasVariableColumns(table)) {
    return layout;
  }
  if (mask_start < 2 + 2) {
    return std::nullopt;
  }
  const std::size_t var_count = U16(row, mask_start - 2);
  // The offsets, the end-of-data offset and the count sit between the row start (after the
  // column count) and the null mask.
  if ((var_count + 2) * 2 > mask_start - 2) {
    return std::nullopt;
  }
  const std::size_t table_start = mask_start - 2 - (var_count + 1) * 2;
  for (std::size_t index = 0; index <= var_count; ++index) {
    const std::size_t offset = U16(row, mask_start - 4 - index * 2);
    if (offset > table_start) {
      return std::nullopt;
    }
    layout.var_offsets.push_back(offset);
  }
  return layout;
}

bool NotNull(const RowLayout& layout, std::uint16_t number) {
  if (number >= layout.column_count) {
    return false;
  }
  return (U8(layout.null_mask, number / 8) >> (number % 8)) & 1;
}

Decimal ReadDecimal(const Column& column, ByteView data) {
  // Sign byte, then four 32-bit little-endian words, the most significant first.
  Decimal value;
  value.negative = (U8(data, 0) & 0x80) != 0;
  value.precision = column.precision;
  value.scale = column.scale;
  value.high = (std::uint64_t{U32(data, 1)} << 32) | U32(data, 5);
  value.low = (std::uint64_t{U32(data, 9)} << 32) | U32(data, 13);
  return value;
}

Value DecodeFixedSize(const Column& column, ByteView data) {
  if (data.size() < FixedTypeSize(column.type)) {
    return std::monostate{};
  }
  switch (column.type) {
    case ColumnType::kByte:
      return U8(data, 0);
    case ColumnType::kInteger:
      return static_cast<std::int16_t>(U16(data, 0));
    case ColumnType::kLong:
      return static_cast<std::int32_t>(U32(data, 0));
    case ColumnType::kCurrency:
      return Currency{static_cast<std::int64_t>(U64(data, 0))};
    case ColumnType::kSingle:
      return std::bit_cast<float>(U32(data, 0));
    case ColumnType::kDouble:
      return std::bit_cast<double>(U64(data, 0));
    case ColumnType::kDateTime:
      return DateTime{std::bit_cast<double>(U64(data, 0))};
    case ColumnType::kGuid: {
      Guid guid;
      std::copy_n(data.begin(), guid.bytes.size(), guid.bytes.begin());
      return guid;
    }
    case ColumnType::kNumeric:
      return ReadDecimal(column, data);
    default:
      return std::monostate{};
  }
}

}  // namespace

Value DecodeField(const Pager& pager, const Column& column, ByteView data) {
  switch (column.type) {
    case ColumnType::kBoolean:
      return true;
    case ColumnType::kText:
      return DecodeJetText(data);
    case ColumnType::kBinary:
      return Blob{Bytes(data.begin(), data.end())};
    case ColumnType::kMemo: {
      const std::optional<Bytes> bytes = ReadLongValue(pager, data);
      return bytes ? Value(DecodeJetText(*bytes)) : Value(std::monostate{});
    }
    case ColumnType::kOle: {
      std::optional<Bytes> bytes = ReadLongValue(pager, data);
      return bytes ? Value(Blob{std::move(*bytes)}) : Value(std::monostate{});
    }
    default:
      return DecodeFixedSize(column, data);
  }
}

std::optional<std::vector<Value>> DecodeRow(const Pager& pager, const TableDefinition& table,
                                            ByteView row) {
  const std::optional<RowLayout> layout = ReadLayout(table, row);
  if (!layout) {
    return std::nullopt;
  }
  std::vector<Value> values;
  values.reserve(table.columns.size());
  for (const Column& column : table.columns) {
    const bool present = NotNull(*layout, column.number);
    if (column.type == ColumnType::kBoolean) {
      values.emplace_back(present);
      continue;
    }
    if (!present) {
      values.emplace_back(std::monostate{});
      continue;
    }
    ByteView data;
    if (column.IsFixed()) {
      const std::size_t size =
          FixedTypeSize(column.type) ? FixedTypeSize(column.type) : column.length;
      data = Slice(row, 2 + std::size_t{column.fixed_offset}, size);
      if (data.size() != size) {
        values.emplace_back(std::monostate{});
        continue;
      }
    } else {
      const std::vector<std::size_t>& offsets = layout->var_offsets;
      if (std::size_t{column.var_index} + 1 >= offsets.size()) {
        values.emplace_back(std::monostate{});
        continue;
      }
      const std::size_t start = offsets[column.var_index];
      const std::size_t end = offsets[column.var_index + 1];
      if (start > end) {
        values.emplace_back(std::monostate{});
        continue;
      }
      data = row.subspan(start, end - start);
    }
    values.push_back(DecodeField(pager, column, data));
  }
  return values;
}

}  // namespace lumora::jet
