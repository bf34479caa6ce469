// Page 0 of a database file: which engine wrote it and the file-wide settings kept in its
// masked region.
#pragma once

#include <cstdint>
#include <optional>

#include "services/jet/byte_view.h"

namespace lumora::jet {

enum class JetVersion : std::uint8_t {
  kJet3,   // Access 97, 2048-byte pages
  kJet4,   // Access 2000-2003
  kAce12,  // 2007
  kAce14,  // 2010
  kAce15,  // 2013
  kAce16,  // 2016
  kAce17,  // 2019
};

struct FormatInfo {
  JetVersion version = JetVersion::kJet4;
  std::uint8_t version_byte = 0;
  std::uint32_t page_size = 4096;
  std::uint16_t code_page = 0;
  // LCID of the default sort order (1033 = "General") and its version (0 = General Legacy).
  std::uint16_t sort_order = 0;
  std::uint8_t sort_version = 0;
  // Non-zero when every page but the first is RC4-encrypted under it.
  std::uint32_t database_key = 0;
  // OLE date: days since 1899-12-30.
  double creation_date = 0;
};

// Size of the page-0 prefix that ReadHeader needs.
inline constexpr std::size_t kHeaderBytes = 0xA0;

// Parses the start of page 0; empty when it is not a Jet or ACE database header.
std::optional<FormatInfo> ReadHeader(ByteView first_bytes);

}  // namespace lumora::jet
