// Setting and clearing the start-up password: the checks of the two typed fields, storing the
// enciphered value, and making sure the stored value reads back as the password.
#pragma once

#include "base/text.h"

namespace lumora::settings {

enum class PasswordStoreOutcome {
  kStored,
  kEmpty,           // the first field holds nothing but blanks
  kMismatch,        // the fields differ once blanks are removed
  kNotWritten,      // the settings file could not be written; the old value stays
  kCannotReadBack,  // the settings file cannot carry this password's value; the old one is back
  kRestoreFailed,   // as kCannotReadBack, and putting the old value back failed too
};

// Removes every blank from both fields, checks them, stores the password and reads it back.
// A value that does not read back as the password would lock the user out at the next start, so
// the previous stored value is written back instead.
PasswordStoreOutcome StoreStartupPassword(const Text& first, const Text& second);

// Turns the start-up password off at once; false when the settings file could not be written.
bool ClearStartupPassword();

}  // namespace lumora::settings
