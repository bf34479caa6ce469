#include "catalogue_csv.h"

#include <cstdio>

#include "services/values/field_text.h"
#include "services/values/ole_date.h"

namespace lumora::ctl {
namespace {

using values::ColumnType;

// The types mdb-export puts in quotes.
bool IsCsvQuoted(ColumnType type) {
  switch (type) {
    case ColumnType::kText:
    case ColumnType::kMemo:
    case ColumnType::kDateTime:
    case ColumnType::kBinary:
    case ColumnType::kOle:
    case ColumnType::kGuid:
      return true;
    default:
      return false;
  }
}

Text DateText(values::DateTime value) {
  const std::optional<values::CivilTime> time = values::OleDateToCivil(value.days);
  if (!time) {
    return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", time->month, time->day,
                time->year % 100, time->hour, time->minute, time->second);
  return text;
}

Text CellText(const values::Value& value) {
  if (const bool* flag = std::get_if<bool>(&value)) {
    return *flag ? "1" : "0";
  }
  if (const values::DateTime* date = std::get_if<values::DateTime>(&value)) {
    return DateText(*date);
  }
  if (const values::Blob* blob = std::get_if<values::Blob>(&value)) {
    return Text(blob->bytes.begin(), blob->bytes.end());
  }
  return values::FieldToText(value);
}

}  // namespace

Text CsvQuoted(const Text& text) {
  Text quoted = "\"";
  for (const char c : text) {
    quoted.push_back(c);
    if (c == '"') {
      quoted.push_back('"');
    }
  }
  quoted.push_back('"');
  return quoted;
}

Text CsvHeader(const jet::TableReader& table) {
  Text line;
  for (std::size_t index = 0; index < table.Columns().size(); ++index) {
    if (index != 0) {
      line.push_back(',');
    }
    line += table.ColumnName(index);
  }
  return line;
}

Text CsvRow(const jet::TableReader& table, const values::Row& row) {
  Text line;
  for (std::size_t index = 0; index < table.Columns().size() && index < row.values.size();
       ++index) {
    if (index != 0) {
      line.push_back(',');
    }
    const values::Value& value = row.values[index];
    if (values::IsNull(value)) {
      continue;
    }
    const Text text = CellText(value);
    line += IsCsvQuoted(table.Columns()[index].type) ? CsvQuoted(text) : text;
  }
  return line;
}

}  // namespace lumora::ctl
