#include "services/jet/row_encoder.h"

#include <algorithm>
#include <bit>

#include "services/jet/byte_writer.h"
#include "services/jet/data_page_writer.h"
#include "services/jet/failure.h"

namespace lumora::jet {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

template <typename T>
const T* As(const Value& value) {
  return std::get_if<T>(&value);
}

// Writes a non-null fixed-size value at `out`; false when its kind does not match the column.
bool EncodeFixed(const Column& column, const Value& value, std::span<std::uint8_t> out) {
  switch (column.type) {
    case ColumnType::kByte:
      if (const auto* v = As<std::uint8_t>(value)) {
        out[0] = *v;
        return true;
      }
      return false;
    case ColumnType::kInteger:
      if (const auto* v = As<std::int16_t>(value)) {
        PutU16(out, 0, static_cast<std::uint16_t>(*v));
        return true;
      }
      return false;
    case ColumnType::kLong:
      if (const auto* v = As<std::int32_t>(value)) {
        PutU32(out, 0, static_cast<std::uint32_t>(*v));
        return true;
      }
      return false;
    case ColumnType::kDateTime:
      if (const auto* v = As<DateTime>(value)) {
        const auto bits = std::bit_cast<std::uint64_t>(v->days);
        PutU32(out, 0, static_cast<std::uint32_t>(bits));
        PutU32(out, 4, static_cast<std::uint32_t>(bits >> 32));
        return true;
      }
      return false;
    case ColumnType::kDouble:
      if (const auto* v = As<double>(value)) {
        const auto bits = std::bit_cast<std::uint64_t>(*v);
        PutU32(out, 0, static_cast<std::uint32_t>(bits));
        PutU32(out, 4, static_cast<std::uint32_t>(bits >> 32));
        return true;
      }
      return false;
    default:
      return false;
  }
}

// The bytes of a non-null variable-length value; empty when it does not suit the column.
std::optional<Bytes> EncodeVariable(const Column& column, const Value& value) {
  if (column.type == ColumnType::kText) {
    const auto* text = As<std::u16string>(value);
    JET_REFUSE_IF(!text, "a value is not of its column's kind");
    JET_REFUSE_IF(text->size() * 2 > column.length, "a text is longer than its column");
    return EncodeJetText(*text, (column.extended_flags & kColumnCompressedUnicode) != 0);
  }
  if (column.type == ColumnType::kBinary) {
    const auto* blob = As<Blob>(value);
    JET_REFUSE_IF(!blob, "a value is not of its column's kind");
    JET_REFUSE_IF(blob->bytes.size() > column.length, "binary data is longer than its column");
    return blob->bytes;
  }
  JET_REFUSE("this engine writes no values of the column's type");
}

}  // namespace

std::optional<Bytes> EncodeJetText(std::u16string_view text, bool compression_allowed) {
  const bool compressible =
      compression_allowed && text.size() >= 3 &&
      std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x01 && c <= 0xFF; });
  Bytes out;
  if (compressible) {
    out = {0xFF, 0xFE};
    for (char16_t c : text) {
      out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
  }
  // Raw text starting FF FE would read back as the compressed form.
  JET_REFUSE_IF(!text.empty() && text.front() == kByteOrderMark,
                "a text starts with a byte-order mark");
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

std::optional<Bytes> EncodeRow(const TableDefinition& table, const std::vector<Value>& values,
                               std::size_t minimum_size) {
  JET_REFUSE_IF(values.size() != table.columns.size(), "a row needs one value per column");
  std::size_t column_count = table.max_columns;
  std::size_t fixed_size = 0;
  std::vector<const Column*> var_columns;
  for (const Column& column : table.columns) {
    column_count = std::max<std::size_t>(column_count, column.number + 1u);
    if (column.IsFixed()) {
      fixed_size =
          std::max<std::size_t>(fixed_size, column.fixed_offset + FixedTypeSize(column.type));
    } else {
      var_columns.push_back(&column);
    }
  }
  std::sort(var_columns.begin(), var_columns.end(),
            [](const Column* a, const Column* b) { return a->var_index < b->var_index; });

  const std::size_t mask_length = (column_count + 7) / 8;
  Bytes mask(mask_length, 0);
  Bytes row(2 + fixed_size, 0);
  PutU16(row, 0, static_cast<std::uint32_t>(column_count));
  for (std::size_t index = 0; index < table.columns.size(); ++index) {
    const Column& column = table.columns[index];
    const Value& value = values[index];
    if (column.type == ColumnType::kBoolean) {
      const auto* flag = As<bool>(value);
      JET_REFUSE_IF(!IsNull(value) && !flag, "a value is not of its column's kind");
      if (flag && *flag) {
        mask[column.number / 8] |= static_cast<std::uint8_t>(1u << (column.number % 8));
      }
      continue;
    }
    if (IsNull(value) || !column.IsFixed()) {
      continue;
    }
    const std::size_t size = FixedTypeSize(column.type);
    JET_REFUSE_IF(size == 0, "this engine writes no values of the column's type");
    JET_REFUSE_IF(
        !EncodeFixed(column, value, std::span(row).subspan(2 + column.fixed_offset, size)),
        "a value is not of its column's kind, or of a type this engine does not write");
    mask[column.number / 8] |= static_cast<std::uint8_t>(1u << (column.number % 8));
  }

  // One offset per slot of the variable table; a slot of a deleted column stays empty.
  const std::size_t var_slots = var_columns.empty() ? 0 : var_columns.back()->var_index + 1u;
  std::vector<std::size_t> offsets;
  auto next = var_columns.begin();
  for (std::size_t slot = 0; slot < var_slots; ++slot) {
    offsets.push_back(row.size());
    if (next == var_columns.end() || (*next)->var_index != slot) {
      continue;
    }
    const Column* column = *next++;
    const std::size_t index = static_cast<std::size_t>(column - table.columns.data());
    if (IsNull(values[index])) {
      continue;
    }
    const std::optional<Bytes> data = EncodeVariable(*column, values[index]);
    if (!data) {
      return std::nullopt;
    }
    row.insert(row.end(), data->begin(), data->end());
    mask[column->number / 8] |= static_cast<std::uint8_t>(1u << (column->number % 8));
  }
  JET_REFUSE_IF(next != var_columns.end(), "a variable-length column lies outside the row's table");

  const std::size_t end_of_data = row.size();
  const std::size_t trailer = (var_columns.empty() ? 0 : 2 + offsets.size() * 2 + 2) + mask_length;
  if (row.size() + trailer < minimum_size) {
    row.resize(minimum_size - trailer, 0);
  }
  if (!var_columns.empty()) {
    const std::size_t at = row.size();
    row.resize(at + 2 + offsets.size() * 2 + 2, 0);
    PutU16(row, at, static_cast<std::uint32_t>(end_of_data));
    for (std::size_t k = 0; k < offsets.size(); ++k) {
      PutU16(row, at + 2 + (offsets.size() - 1 - k) * 2, static_cast<std::uint32_t>(offsets[k]));
    }
    PutU16(row, at + 2 + offsets.size() * 2, static_cast<std::uint32_t>(offsets.size()));
  }
  row.insert(row.end(), mask.begin(), mask.end());
  JET_REFUSE_IF(row.size() > kMaxRowSize || row.size() > 0x1FFF,
                "the row is larger than a data page holds");
  return row;
}

}  // namespace lumora::jet
