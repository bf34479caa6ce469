// Lays out small location databases byte by byte for the locator tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora::status::testing {

class LocationDatabaseBuilder {
 public:
  LocationDatabaseBuilder() : bytes_(8, '\0') {}

  std::uint32_t Here() const { return static_cast<std::uint32_t>(bytes_.size()); }

  std::uint32_t Byte(std::uint8_t value) {
    const std::uint32_t at = Here();
    bytes_.push_back(static_cast<char>(value));
    return at;
  }
  std::uint32_t Number3(std::uint32_t value) { return Number(value, 3); }
  std::uint32_t Number4(std::uint32_t value) { return Number(value, 4); }

  // The text and its terminating zero.
  std::uint32_t Text(std::string_view text) {
    const std::uint32_t at = Here();
    bytes_.append(text);
    bytes_.push_back('\0');
    return at;
  }
  // Bytes without a terminating zero.
  std::uint32_t Raw(std::string_view bytes) {
    const std::uint32_t at = Here();
    bytes_.append(bytes);
    return at;
  }

  // A redirection: the mode byte and a 3-byte offset.
  std::uint32_t Redirect(std::uint8_t mode, std::uint32_t offset) {
    const std::uint32_t at = Byte(mode);
    Number3(offset);
    return at;
  }

  // An address record with its location part laid out directly: country text, area text.
  std::uint32_t DirectRecord(std::uint32_t end, std::string_view country, std::string_view area) {
    const std::uint32_t at = Number4(end);
    Text(country);
    Text(area);
    return at;
  }

  // An index record, written by Finish in the order added.
  void Index(std::uint32_t start, std::uint32_t record) { index_.emplace_back(start, record); }

  // Writes the index after everything else and fills in the header.
  std::string Finish() {
    const std::uint32_t first = Here();
    for (const auto& [start, record] : index_) {
      Number4(start);
      Number3(record);
    }
    const std::uint32_t last = index_.empty() ? first : Here() - 7;
    Patch(0, first);
    Patch(4, last);
    return bytes_;
  }

  // Writes a number over bytes already laid out.
  void Patch(std::uint32_t at, std::uint32_t value, int width = 4) {
    for (int i = 0; i < width; ++i) {
      bytes_[at + static_cast<std::uint32_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
  }

 private:
  std::uint32_t Number(std::uint32_t value, int width) {
    const std::uint32_t at = Here();
    for (int i = 0; i < width; ++i) {
      bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return at;
  }

  std::string bytes_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> index_;
};

inline void WriteFile(const std::string& native_path, std::string_view bytes) {
  std::ofstream(native_path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace lumora::status::testing
