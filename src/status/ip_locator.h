// Where an IPv4 address is: a country or region followed by an area, as the location database
// beside the program (QQWry.dat, else CoralWry.dat) gives them. One locator serves one pass over
// the server list; it is used by one thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/text.h"
#include "status/database_image.h"
#include "status/range_index.h"

namespace lumora::status {

// The two texts of a database record as the file holds them, before any tidying.
struct Location {
  Text country;
  Text area;
};

class IpLocator {
 public:
  IpLocator() = default;
  IpLocator(const IpLocator&) = delete;
  IpLocator& operator=(const IpLocator&) = delete;

  // Opens the database at `path` and reads its header. False when no file can be opened
  // there; the locator then has no database.
  bool Open(const Text& path);
  bool IsOpen() const { return open_; }
  // True when the open database's index does not lie whole inside the file, as in a truncated
  // copy (the index is the file's last part): its lookups would give stray bytes.
  bool Damaged() const;
  void Close();

  // The location of a dotted address text, as GBK. Without an open database, first tries to
  // open the program directory's QQWry.dat, then CoralWry.dat, and gives the empty text when
  // neither opens (every such lookup tries again). The database stays open afterwards.
  Text Lookup(std::string_view address);

  // The record Lookup reads for `address`, its texts untidied; opens the database as Lookup
  // does and gives two empty texts when none opens.
  Location Find(std::string_view address);

 private:
  bool OpenProgramDatabase();
  std::uint64_t FindRecord(std::int64_t address) const;
  // Reads the record's country text followed by its area text into `location`; gives the
  // length of the country text.
  std::size_t ReadLocation(std::uint64_t record, Text& location) const;
  std::uint64_t ReadText(std::uint64_t offset, Text& text) const;
  // Appends the area part at `offset`.
  void ReadArea(std::uint64_t offset, Text& text) const;

  DatabaseImage image_;
  bool open_ = false;
  std::uint32_t first_index_ = 0;
  std::uint32_t last_index_ = 0;
  std::int64_t last_index_number_ = 0;
  // The shortcut for an index in order; without it the search probes record by record.
  RangeIndex ranges_;
};

}  // namespace lumora::status
