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

// Whether `value` comes back from the profile functions byte for byte, so that it may stand raw:
// no zero byte or line break, which end or break the line, only whole code page 936 characters
// (a lone byte comes back from the conversion through UTF-16 as '?'), and no blank, control
// character that counts as one, or quotation mark at either end, which the functions take off.
bool SurvivesTheProfileFunctions(const Text& value) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte < 0x80) {
      if (byte == 0 || byte == '\r' || byte == '\n') {
        return false;
      }
      continue;
    }
    const auto trail = i + 1 < value.size() ? static_cast<unsigned char>(value[i + 1]) : 0;
    if (!IsGbkLeadByte(byte) || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      return false;
    }
    ++i;
  }
  const auto edge = [](char c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ' || c == '"' || c == '\'';
  };
  return value.empty() || (!edge(value.front()) && !edge(value.back()));
}

// The section holds the one stored line and nothing else: lines that an earlier version's
// broken records left there (the rest of a record after a line break byte) go with it.
bool WriteStoredValue(const Text& value) {
  return platform::ReplaceProfileSection(ProgramFile(kSettingsFile), kSection, {{kKey, value}});
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

Text StoredValueFor(const Text& password) {
  Text raw = EncipherPassword(password);
  // A record cut at a zero byte would not decipher; one the file would change would not either.
  if (password.empty() ||
      (DecipherStoredValue(raw) == password && SurvivesTheProfileFunctions(raw))) {
    return raw;
  }
  return EncipherPasswordTextSafe(password);
}

bool StorePassword(const Text& password) {
  return WriteStoredValue(StoredValueFor(password));
}

bool RestoreStoredValue(const Text& value) {
  return WriteStoredValue(value);
}

}  // namespace lumora::services
