#include "csv_reader.h"

namespace lumora::ctl {

CsvReadResult ReadCsv(std::string_view text) {
  CsvReadResult result;
  CsvRecord record;
  std::string field;
  bool quoted = false;
  bool fieldStarted = false;
  int line = 1;
  int quoteLine = 0;
  auto endField = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  auto endRecord = [&] {
    if (fieldStarted || !record.fields.empty()) {
      endField();
      result.records.push_back(std::move(record));
    }
    record = CsvRecord{.line = line + 1};
  };
  record.line = 1;
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char c = text[index];
    if (quoted) {
      if (c == '"' && index + 1 < text.size() && text[index + 1] == '"') {
        field.push_back('"');
        ++index;
      } else if (c == '"') {
        quoted = false;
      } else {
        line += c == '\n' ? 1 : 0;
        field.push_back(c);
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      fieldStarted = true;
      quoteLine = line;
    } else if (c == ',') {
      fieldStarted = true;
      endField();
    } else if (c == '\n' || (c == '\r' && index + 1 < text.size() && text[index + 1] == '\n')) {
      index += c == '\r' ? 1 : 0;
      endRecord();
      ++line;
    } else {
      fieldStarted = true;
      field.push_back(c);
    }
  }
  if (quoted) {
    result.unclosedQuoteLine = quoteLine;
    return result;
  }
  endRecord();
  return result;
}

}  // namespace lumora::ctl
