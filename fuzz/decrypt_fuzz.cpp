// DecryptData must take any bytes under any key without crashing, and whatever EncryptData
// makes must decipher back to the data it came from.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "services/cipher.h"

namespace {

using lumora::Bytes;
using lumora::Text;
using lumora::services::DecryptData;
using lumora::services::EncryptData;
using lumora::services::kCipherDes;
using lumora::services::kCipherRc4;
using lumora::services::kStartupPasswordKey;

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void CheckDecryptOnly(const Bytes& data, const Text& key) {
  const Bytes des = DecryptData(data, key, kCipherDes);
  if (!des.empty()) {
    // An accepted record is exactly the length field plus the data, in whole blocks.
    Require(data.size() % 8 == 0);
    Require(des.size() + 4 <= data.size());
    Require(data.size() < des.size() + 12);
  }
  Require(DecryptData(data, key, kCipherRc4).size() == data.size());
}

void CheckRoundTrip(const Bytes& data, const Text& key) {
  const Bytes record = EncryptData(data, key, kCipherDes);
  Require(record.size() == (data.empty() ? 0 : (data.size() + 4 + 7) / 8 * 8));
  Require(DecryptData(record, key, kCipherDes) == data);
  const Bytes stream = EncryptData(data, key, kCipherRc4);
  Require(stream.size() == data.size());
  Require(DecryptData(stream, key, kCipherRc4) == data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  const Bytes whole(input, input + size);
  CheckDecryptOnly(whole, kStartupPasswordKey);
  if (size == 0) {
    return 0;
  }
  // First byte: how many of the following bytes form the key text (zero bytes included, to
  // check that the key ends at the first of them).
  const std::size_t key_length = std::min<std::size_t>(input[0] % 17, size - 1);
  const Text key(reinterpret_cast<const char*>(input + 1), key_length);
  const Bytes data(input + 1 + key_length, input + size);
  CheckDecryptOnly(data, key);
  CheckRoundTrip(data, key);
  return 0;
}
