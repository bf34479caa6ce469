// Comma-separated records as `catalogue export` and spreadsheets write them: fields in double
// quotes may hold commas, line ends and doubled quotes; lines end in LF or CRLF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::ctl {

struct CsvRecord {
  int line = 0;  // where the record starts, from 1
  std::vector<std::string> fields;
};

struct CsvReadResult {
  std::vector<CsvRecord> records;
  // Set when a quoted field is not closed: the line where it opened.
  std::optional<int> unclosedQuoteLine;
};

// Splits `text` into records; empty lines are skipped.
CsvReadResult ReadCsv(std::string_view text);

}  // namespace lumora::ctl
