// The cipher that keeps the start-up password in config.ini, and the conversions the program
// applies between settings-file text and the cipher's bytes.
//
// Algorithm 1 (DES, the default): the data behind a 4-byte little-endian length, zero-padded
// to a multiple of 8 bytes, enciphered block by block (ECB) under a key folded from the key
// text. Algorithm 2: RC4 under the key text's bytes, no framing.
//
// Every call builds its own key schedule, so calls may overlap.
#pragma once

#include "base/text.h"

namespace lumora::services {

// The key text the program enciphers the start-up password with.
inline constexpr char kStartupPasswordKey[] = "k7Qm2vX";

inline constexpr int kCipherDes = 1;
inline constexpr int kCipherRc4 = 2;

// The key text counts up to its first zero byte. Any algorithm number other than 2 means 1.
// Empty data gives empty data; so does running out of memory.
Bytes EncryptData(const Bytes& data, const Text& key, int algorithm = kCipherDes);

// Empty when `data` is not a record enciphered under `key`.
Bytes DecryptData(const Bytes& data, const Text& key, int algorithm = kCipherDes);

// The text's bytes up to its end or its first zero byte, whichever comes first.
Bytes TextToBytes(const Text& text);

// The bytes up to, not including, the first zero byte.
Text BytesToText(const Bytes& bytes);

}  // namespace lumora::services
