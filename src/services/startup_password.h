// The optional start-up password, kept enciphered as "Password" in section "Security" of
// config.ini. The enciphered record is stored as raw characters, one byte each.
#pragma once

#include "base/text.h"

namespace lumora::services {

struct StoredPassword {
  Text raw;       // the value as the settings file holds it
  Text password;  // deciphered; empty when none is set or the value cannot be read back

  // A value that does not decipher still counts as a password being set.
  bool IsSet() const { return !password.empty() || !raw.empty(); }
};

StoredPassword ReadStoredPassword();

// The text that storing `password` writes: its enciphered record, cut at the first zero byte.
// The empty password gives the empty text.
Text EncipherPassword(const Text& password);

// Writes the enciphered `password`; the empty password turns the start-up password off.
// Returns false when the settings file could not be written. Some passwords encipher to values
// the settings file cannot carry unchanged (a zero byte, a line break, blanks or quotation marks
// at either end); they read back as not deciphering, and no check is made here.
bool StorePassword(const Text& password);

}  // namespace lumora::services
