#include "status/ip_locator.h"

#include <utility>

#include "platform/program_directory.h"
#include "platform/shared_read_file.h"
#include "status/ip_address.h"
#include "status/location_text.h"

namespace lumora::status {
namespace {

constexpr std::uint64_t kIndexRecordSize = 7;

// Redirection bytes that lead a location part or an area part.
constexpr int kWholeLocationElsewhere = 1;
constexpr int kCountryElsewhere = 2;

}  // namespace

bool IpLocator::Open(const Text& path) {
  Close();
  platform::SharedReadFile file;
  if (!file.Open(path) || !image_.Load(std::move(file))) {
    return false;
  }
  first_index_ = image_.NumberAt(0, 4);
  last_index_ = image_.NumberAt(4, 4);
  last_index_number_ =
      (static_cast<std::int64_t>(last_index_) - static_cast<std::int64_t>(first_index_)) /
      static_cast<std::int64_t>(kIndexRecordSize);
  open_ = true;
  if (last_index_number_ >= 0) {
    ranges_.Build(image_, first_index_, static_cast<std::size_t>(last_index_number_) + 1);
  }
  return true;
}

bool IpLocator::Damaged() const {
  constexpr std::uint32_t kHeaderSize = 8;
  return open_ && (first_index_ < kHeaderSize || last_index_ < first_index_ ||
                   std::uint64_t{last_index_} + kIndexRecordSize > image_.Size());
}

void IpLocator::Close() {
  image_.Clear();
  open_ = false;
  first_index_ = 0;
  last_index_ = 0;
  last_index_number_ = 0;
  ranges_.Clear();
}

bool IpLocator::OpenProgramDatabase() {
  return open_ || Open(ProgramFile("QQWry.dat")) || Open(ProgramFile("CoralWry.dat"));
}

Text IpLocator::Lookup(std::string_view address) {
  if (!OpenProgramDatabase()) {
    return {};
  }
  Text location;
  location.reserve(64);
  const std::size_t country_length = ReadLocation(FindRecord(ParseAddress(address)), location);
  CleanLocationInPlace(location, country_length);
  return location;
}

Location IpLocator::Find(std::string_view address) {
  if (!OpenProgramDatabase()) {
    return {};
  }
  Location location;
  const std::size_t country_length =
      ReadLocation(FindRecord(ParseAddress(address)), location.country);
  location.area = location.country.substr(country_length);
  location.country.resize(country_length);
  return location;
}

// Binary search over the index that probes the upper middle record first. Gives the record
// offset of the index record whose range holds `address`, or of the last index record when none
// does.
std::uint64_t IpLocator::FindRecord(std::int64_t address) const {
  if (ranges_.Usable()) {
    const std::int64_t found = ranges_.Find(address);
    const std::uint64_t at =
        found < 0 ? last_index_
                  : first_index_ + kIndexRecordSize * static_cast<std::uint64_t>(found);
    return image_.NumberAt(at + 4, 3);
  }
  std::int64_t low = 0;
  std::int64_t high = last_index_number_;
  while (low <= high) {
    const std::int64_t mid = low + (high - low + 1) / 2;
    const std::uint64_t at = first_index_ + kIndexRecordSize * static_cast<std::uint64_t>(mid);
    const std::int64_t start = image_.NumberAt(at, 4);
    if (address < start) {
      high = mid - 1;
      continue;
    }
    const std::uint64_t record = image_.NumberAt(at + 4, 3);
    const std::int64_t end = image_.NumberAt(record, 4);
    if (address > end) {
      low = mid + 1;
      continue;
    }
    return record;
  }
  return image_.NumberAt(std::uint64_t{last_index_} + 4, 3);
}

std::size_t IpLocator::ReadLocation(std::uint64_t record, Text& location) const {
  std::uint64_t area;
  const int mode = image_.ByteAt(record + 4);
  if (mode == kWholeLocationElsewhere) {
    // The whole location part lies elsewhere; there only a country redirection is followed.
    const std::uint64_t target = image_.NumberAt(record + 5, 3);
    if (image_.ByteAt(target) == kCountryElsewhere) {
      image_.AppendTextAt(image_.NumberAt(target + 1, 3), location);
      area = target + 4;
    } else {
      area = ReadText(target, location);
    }
  } else if (mode == kCountryElsewhere) {
    image_.AppendTextAt(image_.NumberAt(record + 5, 3), location);
    area = record + 8;
  } else {
    area = ReadText(record + 4, location);
  }
  const std::size_t country_length = location.size();
  ReadArea(area, location);
  return country_length;
}

// Appends the text at `offset`, whose first byte was already read as a mode or area byte and
// belongs to the text. Gives where reading ended. A zero first byte still has the rest read (the
// area follows it), but a text ends at its first zero byte, so that text is empty.
std::uint64_t IpLocator::ReadText(std::uint64_t offset, Text& text) const {
  const int first = image_.ByteAt(offset);
  if (first < 0) {
    return offset;
  }
  const std::size_t start = text.size();
  text.push_back(static_cast<char>(first));
  const std::uint64_t end = image_.AppendTextAt(offset + 1, text);
  if (first == 0) {
    text.resize(start);
  }
  return end;
}

void IpLocator::ReadArea(std::uint64_t offset, Text& text) const {
  const int kind = image_.ByteAt(offset);
  if (kind <= 0) {
    return;
  }
  if (kind == kWholeLocationElsewhere || kind == kCountryElsewhere) {
    image_.AppendTextAt(image_.NumberAt(offset + 1, 3), text);
  } else {
    ReadText(offset, text);
  }
}

}  // namespace lumora::status
