#include "services/jet/index_key.h"

#include <algorithm>

#include "services/jet/failure.h"
#include "services/jet/general_sort_codes.h"

namespace lumora::jet {
namespace {

constexpr std::uint8_t kAscending = 0x7F;
constexpr std::uint8_t kAscendingNull = 0x00;
constexpr std::uint16_t kGeneralSortOrder = 1033;
constexpr std::uint8_t kTextEnd = 0x01;
constexpr std::uint8_t kKeyEnd = 0x00;

const Column* FindColumn(const TableDefinition& table, std::uint16_t number,
                         std::size_t* position) {
  for (std::size_t index = 0; index < table.columns.size(); ++index) {
    if (table.columns[index].number == number) {
      *position = index;
      return &table.columns[index];
    }
  }
  return nullptr;
}

void PutBig(Bytes& key, std::uint32_t value, int width) {
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
    key.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

bool EncodeText(std::u16string_view text, Bytes& key) {
  while (!text.empty() && text.back() == u' ') {
    text.remove_suffix(1);
  }
  // An empty text has no sample to follow.
  JET_REFUSE_IF(text.empty(), "an indexed text is empty or blank");
  JET_REFUSE_IF(text.size() > 255, "an indexed text is longer than a key takes");
  for (char16_t c : text) {
    const std::optional<std::uint8_t> code = GeneralSortCode(c);
    JET_REFUSE_IF(!code, "an indexed text has a character whose sort code this engine lacks");
    key.push_back(*code);
  }
  key.push_back(kTextEnd);
  key.push_back(kKeyEnd);
  return true;
}

}  // namespace

bool IndexKeysSupported(const TableDefinition& table, const RealIndex& index) {
  if (index.columns.empty()) {
    return false;
  }
  for (const IndexColumn& part : index.columns) {
    std::size_t position = 0;
    const Column* column = FindColumn(table, part.column_number, &position);
    if (!column || !part.ascending) {
      return false;
    }
    switch (column->type) {
      case ColumnType::kByte:
      case ColumnType::kInteger:
      case ColumnType::kLong:
        break;
      case ColumnType::kText:
        if (column->sort_order != kGeneralSortOrder || column->sort_version != 0) {
          return false;
        }
        break;
      default:
        return false;
    }
  }
  return true;
}

std::optional<Bytes> EncodeIndexKey(const TableDefinition& table, const RealIndex& index,
                                    const std::vector<Value>& values) {
  JET_REFUSE_IF(!IndexKeysSupported(table, index), "the index has keys this engine cannot encode");
  JET_REFUSE_IF(values.size() != table.columns.size(), "a row needs one value per column");
  Bytes key;
  for (const IndexColumn& part : index.columns) {
    std::size_t position = 0;
    const Column* column = FindColumn(table, part.column_number, &position);
    const Value& value = values[position];
    if (IsNull(value)) {
      key.push_back(kAscendingNull);
      continue;
    }
    key.push_back(kAscending);
    if (const auto* v = std::get_if<std::uint8_t>(&value); v && column->type == ColumnType::kByte) {
      key.push_back(*v);
    } else if (const auto* v16 = std::get_if<std::int16_t>(&value);
               v16 && column->type == ColumnType::kInteger) {
      PutBig(key, static_cast<std::uint16_t>(*v16) ^ 0x8000u, 2);
    } else if (const auto* v32 = std::get_if<std::int32_t>(&value);
               v32 && column->type == ColumnType::kLong) {
      PutBig(key, static_cast<std::uint32_t>(*v32) ^ 0x80000000u, 4);
    } else if (const auto* text = std::get_if<std::u16string>(&value);
               text && column->type == ColumnType::kText) {
      if (!EncodeText(*text, key)) {
        return std::nullopt;
      }
    } else {
      JET_REFUSE("an indexed value is not of its column's kind");
    }
  }
  return key;
}

}  // namespace lumora::jet
