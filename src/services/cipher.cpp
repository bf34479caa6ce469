#include "services/cipher.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <string_view>

#include "services/des.h"
#include "services/rc4.h"

namespace lumora::services {
namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kLengthFieldSize = 4;

std::string_view KeyBytes(const Text& key) {
  return std::string_view(key.c_str());  // up to the first zero byte
}

// Key byte i mod 8 takes byte i of the key text, XORed in.
DesKey FoldKey(const Text& key) {
  DesKey folded{};
  const std::string_view bytes = KeyBytes(key);
  for (std::size_t index = 0; index < bytes.size(); ++index) {
    folded[index % folded.size()] ^= static_cast<std::uint8_t>(bytes[index]);
  }
  return folded;
}

void TransformBlocks(Bytes& buffer, const Text& key, DesDirection direction) {
  const DesSchedule schedule = DesSchedule::FromLowBitFirstKey(FoldKey(key), direction);
  for (std::size_t offset = 0; offset < buffer.size(); offset += kBlockSize) {
    schedule.Transform(std::span<std::uint8_t, kBlockSize>(buffer.data() + offset, kBlockSize));
  }
}

Bytes Rc4WithKeyText(const Bytes& data, const Text& key) {
  const std::string_view bytes = KeyBytes(key);
  return Rc4Transform(data,
                      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

Bytes DesEncrypt(const Bytes& data, const Text& key) {
  // The length field is a signed 32-bit number.
  constexpr auto kMaxLength =
      static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - kBlockSize;
  if (data.empty() || data.size() > kMaxLength) {
    return {};
  }
  const std::size_t length = data.size();
  const std::size_t record_size =
      (length + kLengthFieldSize + kBlockSize - 1) / kBlockSize * kBlockSize;
  Bytes record(record_size, 0);
  for (std::size_t index = 0; index < kLengthFieldSize; ++index) {
    record[index] = static_cast<std::uint8_t>(length >> (8 * index));
  }
  std::copy(data.begin(), data.end(), record.begin() + kLengthFieldSize);
  TransformBlocks(record, key, DesDirection::kEncipher);
  return record;
}

Bytes DesDecrypt(const Bytes& data, const Text& key) {
  if (data.empty() || data.size() % kBlockSize != 0) {
    return {};
  }
  Bytes record = data;
  TransformBlocks(record, key, DesDirection::kDecipher);
  std::uint32_t field = 0;
  for (std::size_t index = 0; index < kLengthFieldSize; ++index) {
    field |= static_cast<std::uint32_t>(record[index]) << (8 * index);
  }
  const auto length = static_cast<std::int64_t>(static_cast<std::int32_t>(field));
  const auto record_size = static_cast<std::int64_t>(record.size());
  // Together: the record is exactly the length plus its field, rounded up to whole blocks.
  if (length <= 0 || length > record_size - 4 || record_size >= length + 12) {
    return {};
  }
  const auto begin = record.begin() + kLengthFieldSize;
  return Bytes(begin, begin + static_cast<std::ptrdiff_t>(length));
}

}  // namespace

Bytes EncryptData(const Bytes& data, const Text& key, int algorithm) {
  try {
    if (algorithm == kCipherRc4) {
      return Rc4WithKeyText(data, key);
    }
    return DesEncrypt(data, key);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

Bytes DecryptData(const Bytes& data, const Text& key, int algorithm) {
  try {
    if (algorithm == kCipherRc4) {
      return Rc4WithKeyText(data, key);
    }
    return DesDecrypt(data, key);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

Bytes TextToBytes(const Text& text) {
  const std::string_view bytes(text.c_str());
  return Bytes(bytes.begin(), bytes.end());
}

Text BytesToText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), end);
}

}  // namespace lumora::services
