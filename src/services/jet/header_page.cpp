#include "services/jet/header_page.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "services/jet/byte_writer.h"
#include "services/jet/rc4_mask.h"

namespace lumora::jet {
namespace {

constexpr std::uint32_t kHeaderMaskKey = 0x6B39DAC7;
constexpr std::size_t kMaskStart = 0x18;
constexpr std::size_t kMaskLength = 128;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordLength = 40;
constexpr std::size_t kCommitSlots = 0xE00;

}  // namespace

Bytes BuildHeaderPage(double creation_date, std::uint32_t page_size) {
  Bytes page(page_size, 0);
  page[1] = 0x01;
  std::memcpy(page.data() + 4, "Standard Jet DB", 15);
  page[0x14] = 0x01;
  PutU32(page, 0x18, 0x100);
  PutU32(page, 0x1C, 0x101);
  // Definitions of MSysObjects, MSysACEs, MSysQueries and MSysRelationships.
  for (std::uint32_t index = 0; index < 4; ++index) {
    PutU32(page, 0x20 + index * 4, 2 + index);
  }
  PutU16(page, 0x3C, 1252);
  // An empty password is stored as the mask derived from the creation date.
  const auto mask =
      static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(creation_date)));
  for (std::size_t at = 0; at < kPasswordLength; at += 4) {
    PutU32(page, kPasswordOffset + at, mask);
  }
  PutU16(page, 0x6E, 1033);
  const auto date = std::bit_cast<std::uint64_t>(creation_date);
  PutU32(page, 0x72, static_cast<std::uint32_t>(date));
  PutU32(page, 0x76, static_cast<std::uint32_t>(date >> 32));
  Rc4Xor(kHeaderMaskKey, std::span(page).subspan(kMaskStart, kMaskLength));
  PutU32(page, 0x98, 0x654);
  std::memcpy(page.data() + 0x9C, "4.0", 3);
  for (std::size_t at = kCommitSlots; at + 1 < page_size; at += 2) {
    page[at + 1] = 0x01;
  }
  return page;
}

}  // namespace lumora::jet
