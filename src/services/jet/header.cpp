#include "services/jet/header.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "services/jet/rc4_mask.h"

namespace lumora::jet {
namespace {

constexpr std::uint32_t kHeaderMaskKey = 0x6B39DAC7;
constexpr std::size_t kMaskStart = 0x18;
constexpr std::size_t kJet4MaskLength = 128;
constexpr std::size_t kJet3MaskLength = 126;

std::optional<JetVersion> VersionFromByte(std::uint8_t value) {
  switch (value) {
    case 0x00:
      return JetVersion::kJet3;
    case 0x01:
      return JetVersion::kJet4;
    case 0x02:
      return JetVersion::kAce12;
    case 0x03:
      return JetVersion::kAce14;
    case 0x04:
      return JetVersion::kAce15;
    case 0x05:
      return JetVersion::kAce16;
    case 0x06:
      return JetVersion::kAce17;
    default:
      return std::nullopt;
  }
}

bool HasSignature(ByteView bytes) {
  static constexpr char kJet[] = "Standard Jet DB";
  static constexpr char kAce[] = "Standard ACE DB";
  const ByteView signature = Slice(bytes, 4, 15);
  if (signature.empty() || U8(bytes, 0) != 0x00) {
    return false;
  }
  return std::memcmp(signature.data(), kJet, 15) == 0 ||
         std::memcmp(signature.data(), kAce, 15) == 0;
}

}  // namespace

std::optional<FormatInfo> ReadHeader(ByteView first_bytes) {
  if (first_bytes.size() < kHeaderBytes || !HasSignature(first_bytes)) {
    return std::nullopt;
  }
  const std::optional<JetVersion> version = VersionFromByte(first_bytes[0x14]);
  if (!version) {
    return std::nullopt;
  }
  const bool jet3 = *version == JetVersion::kJet3;

  std::array<std::uint8_t, kHeaderBytes> header{};
  std::copy_n(first_bytes.begin(), header.size(), header.begin());
  Rc4Xor(kHeaderMaskKey,
         std::span(header).subspan(kMaskStart, jet3 ? kJet3MaskLength : kJet4MaskLength));
  const ByteView plain(header);

  FormatInfo info;
  info.version = *version;
  info.version_byte = first_bytes[0x14];
  info.page_size = jet3 ? 2048 : 4096;
  info.code_page = U16(plain, 0x3C);
  info.database_key = U32(plain, 0x3E);
  if (jet3) {
    info.sort_order = U16(plain, 0x3A);
  } else {
    info.sort_order = U16(plain, 0x6E);
    info.sort_version = U8(plain, 0x71);
    info.creation_date = std::bit_cast<double>(U64(plain, 0x72));
  }
  return info;
}

}  // namespace lumora::jet
