#include "settings/startup_password_setting.h"

#include "services/startup_password.h"
#include "settings/settings_store.h"

namespace lumora::settings {

PasswordStoreOutcome StoreStartupPassword(const Text& first, const Text& second) {
  const Text password = RemoveBlanks(first);
  if (password.empty()) {
    return PasswordStoreOutcome::kEmpty;
  }
  if (RemoveBlanks(second) != password) {
    return PasswordStoreOutcome::kMismatch;
  }
  const Text previous = services::ReadStoredPassword().raw;
  if (!services::StorePassword(password)) {
    return PasswordStoreOutcome::kNotWritten;
  }
  if (services::ReadStoredPassword().password == password) {
    return PasswordStoreOutcome::kStored;
  }
  const bool restored = services::RestoreStoredValue(previous);
  return restored ? PasswordStoreOutcome::kCannotReadBack : PasswordStoreOutcome::kRestoreFailed;
}

bool ClearStartupPassword() {
  return services::StorePassword(Text());
}

}  // namespace lumora::settings
