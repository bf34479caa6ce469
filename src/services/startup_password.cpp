#include "services/startup_password.h"

#include <optional>

#include "platform/profile.h"
#include "platform/program_directory.h"
#include "services/cipher.h"

namespace lumora::services {
namespace {

constexpr char kSettingsFile[] = "config.ini";
constexpr char kSection[] = "Security";
constexpr char kKey[] = "Password";
constexpr char kTextSafeMark = '~';
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') {
    return digit - '0';
  }
  if (digit >= 'A' && digit <= 'F') {
    return digit - 'A' + 10;
  }
  if (digit >= 'a' && digit <= 'f') {
    return digit - 'a' + 10;
  }
  return -1;
}

// The record a text-safe value holds; nullopt for any other value, raw ones included.
std::optional<Bytes> TextSafeRecord(const Text& value) {
  if (value.size() % 16 != 1 || value.front() != kTextSafeMark) {
    return std::nullopt;
  }
  Bytes record;
  for (std::size_t i = 1; i + 1 < value.size(); i += 2) {
    const int high = HexValue(value[i]);
    const int low = HexValue(value[i + 1]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    record.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return record;
}

bool WriteStoredValue(const Text& value) {
  return platform::WriteProfileText(ProgramFile(kSettingsFile), kSection, kKey, value);
}

}  // namespace

StoredPassword ReadStoredPassword() {
  StoredPassword stored;
  stored.raw = platform::ReadProfileText(ProgramFile(kSettingsFile), kSection, kKey);
  stored.password = DecipherStoredValue(stored.raw);
  return stored;
}

bool AdmitsPassword(const Text& typed) {
  return typed == ReadStoredPassword().password;
}

Text EncipherPassword(const Text& password) {
  return BytesToText(EncryptData(TextToBytes(password), kStartupPasswordKey));
}

Text EncipherPasswordTextSafe(const Text& password) {
  const Bytes record = EncryptData(TextToBytes(password), kStartupPasswordKey);
  if (record.empty()) {
    return {};
  }
  Text value(1, kTextSafeMark);
  for (const std::uint8_t byte : record) {
    value += kHexDigits[byte >> 4];
    value += kHexDigits[byte & 0xF];
  }
  return value;
}

Text DecipherStoredValue(const Text& value) {
  const std::optional<Bytes> record = TextSafeRecord(value);
  return BytesToText(DecryptData(record ? *record : TextToBytes(value), kStartupPasswordKey));
}

bool StorePassword(const Text& password) {
  if (!WriteStoredValue(EncipherPassword(password))) {
    return false;
  }
  if (password.empty() || ReadStoredPassword().password == password) {
    return true;
  }
  return WriteStoredValue(EncipherPasswordTextSafe(password));
}

}  // namespace lumora::services
