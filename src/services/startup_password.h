// The optional start-up password, kept enciphered as "Password" in section "Security" of
// config.ini.
//
// Stored forms. The enciphered record is written as raw characters, one byte each, whenever the
// settings file gives it back unchanged. Many records do not survive that (a zero byte, bytes
// that are no whole character of the system code page, a line break, blanks or quotation marks
// at either end); those are written instead as "~" followed by the record's bytes as uppercase
// hexadecimal digits. A record is a whole number of 8-byte blocks, so that text is 1 + 16k
// characters long, never a multiple of 8: it cannot be mistaken for a raw record, and every raw
// value stays readable as it always was.
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

// Whether the login window admits `typed`: it equals the stored password byte for byte.
bool AdmitsPassword(const Text& typed);

// The raw form of `password`: its enciphered record, cut at the first zero byte. The empty
// password gives the empty text.
Text EncipherPassword(const Text& password);

// The text-safe form of `password` ("~" and hexadecimal digits); empty for the empty password.
Text EncipherPasswordTextSafe(const Text& password);

// The password a stored value of either form deciphers to; empty when it deciphers to nothing.
Text DecipherStoredValue(const Text& value);

// The value stored for `password`: the raw form when the settings file carries it byte for byte
// and it deciphers to `password`, else the text-safe form; empty for the empty password.
Text StoredValueFor(const Text& password);

// Writes the value for `password` (decided before anything is written), once; the empty password
// turns the start-up password off. The section then holds that one line only: whatever else an
// earlier version left there goes. False when the settings file could not be written. The caller
// checks that the stored value reads back.
bool StorePassword(const Text& password);

// Puts back a stored value as it was read (after a store that did not read back), likewise alone
// in its section.
bool RestoreStoredValue(const Text& value);

}  // namespace lumora::services
