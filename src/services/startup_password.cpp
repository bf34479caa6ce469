#include "services/startup_password.h"

#include "platform/profile.h"
#include "platform/program_directory.h"
#include "services/cipher.h"

namespace lumora::services {
namespace {

constexpr char kSettingsFile[] = "config.ini";
constexpr char kSection[] = "Security";
constexpr char kKey[] = "Password";

}  // namespace

StoredPassword ReadStoredPassword() {
  StoredPassword stored;
  stored.raw = platform::ReadProfileText(ProgramFile(kSettingsFile), kSection, kKey);
  stored.password = BytesToText(DecryptData(TextToBytes(stored.raw), kStartupPasswordKey));
  return stored;
}

Text EncipherPassword(const Text& password) {
  return BytesToText(EncryptData(TextToBytes(password), kStartupPasswordKey));
}

bool StorePassword(const Text& password) {
  return platform::WriteProfileText(ProgramFile(kSettingsFile), kSection, kKey,
                                    EncipherPassword(password));
}

}  // namespace lumora::services
