#include "csv_reader.h"

namespace lumora::ctl {
namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

int CsvReader::Peek() {
  if (at_ == buffer_.size()) {
    buffer_.resize(kChunk);
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.resize(static_cast<std::size_t>(in_.gcount()));
    at_ = 0;
    if (buffer_.empty()) {
      return -1;
    }
  }
  return static_cast<unsigned char>(buffer_[at_]);
}

int CsvReader::Get() {
  const int c = Peek();
  if (c >= 0) {
    ++at_;
    ++offset_;
  }
  return c;
}

bool CsvReader::Next(CsvRecord& record) {
  record = CsvRecord{.line = line_};
  std::string field;
  bool started = false;
  for (;;) {
    int c = Get();
    if (c < 0) {
      if (!started && record.fields.empty()) {
        return false;
      }
      record.fields.push_back(std::move(field));
      return true;
    }
    if (c == '"') {
      started = true;
      const int opened = line_;
      for (;;) {
        c = Get();
        if (c < 0) {
          unclosed_quote_line_ = opened;
          return false;
        }
        if (c == '"') {
          if (Peek() != '"') {
            break;
          }
          Get();
        }
        line_ += c == '\n' ? 1 : 0;
        field.push_back(static_cast<char>(c));
      }
      // Only a separator or the line's end may follow the closing quote; the rest of the field
      // is passed over, and the record refused.
      while (Peek() >= 0 && Peek() != ',' && Peek() != '\n' &&
             !(Peek() == '\r' && (Get(), Peek() == '\n'))) {
        Get();
        record.problem = "text after a closing quote";
      }
      continue;
    }
    if (c == ',') {
      started = true;
      record.fields.push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || (c == '\r' && Peek() == '\n')) {
      if (c == '\r') {
        Get();
      }
      ++line_;
      if (started || !record.fields.empty()) {
        record.fields.push_back(std::move(field));
        return true;
      }
      record.line = line_;
    } else {
      started = true;
      field.push_back(static_cast<char>(c));
    }
  }
}

}  // namespace lumora::ctl
