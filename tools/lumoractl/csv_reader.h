// Comma-separated records as `catalogue export` and spreadsheets write them, read from a stream
// one record at a time: fields in double quotes may hold commas, line ends and doubled quotes;
// lines end in LF or CRLF. The delimiters are ASCII bytes, which neither UTF-8 nor GBK uses inside
// a character, so the bytes are split before they are decoded.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace lumora::ctl {

struct CsvRecord {
  int line = 0;  // where the record starts, from 1
  std::vector<std::string> fields;
  // Set when the record is malformed (text after a closing quote): what is wrong.
  std::optional<std::string> problem;
};

class CsvReader {
 public:
  explicit CsvReader(std::istream& in) : in_(in) {}

  // The next record; empty lines are skipped. False at the end, and when a quoted field is not
  // closed (UnclosedQuoteLine says where it opened).
  bool Next(CsvRecord& record);

  std::optional<int> UnclosedQuoteLine() const { return unclosed_quote_line_; }
  // Bytes read so far.
  std::uint64_t Offset() const { return offset_; }

 private:
  // The next byte, or -1 at the end.
  int Get();
  int Peek();

  std::istream& in_;
  std::string buffer_;
  std::size_t at_ = 0;
  std::uint64_t offset_ = 0;
  int line_ = 1;
  std::optional<int> unclosed_quote_line_;
};

}  // namespace lumora::ctl
