#include "settings/settings_store.h"

#include "platform/profile.h"
#include "platform/program_directory.h"

namespace lumora::settings {
namespace {

constexpr SettingDefault kDefaults[kSessionKeyCount] = {
    {key::kWindowMode, "1"},      {key::kWindowSize, "800×600"},  {key::kColourDepth, "31"},
    {key::kDriveMapping, "0"},    {key::kLocalDrives, ""},        {key::kClipboard, "1"},
    {key::kPrinters, "0"},        {key::kSerialPorts, "0"},       {key::kSmartCards, "0"},
    {key::kReconnect, "1"},       {key::kForcedMode, "0"},        {key::kCompression, "1"},
    {key::kConnectionBar, "1"},   {key::kDesktopBackground, "1"}, {key::kDesktopTheme, "0"},
    {key::kPnpDevices, "0"},      {key::kRecording, "0"},         {key::kAudioPlayback, "2"},
    {key::kKeyCombinations, "2"},
};

// Index of `key` in table order, or kSessionKeyCount.
std::size_t KeyIndex(std::string_view key) {
  std::size_t index = 0;
  while (index < kSessionKeyCount && key != kDefaults[index].key) {
    ++index;
  }
  return index;
}

}  // namespace

std::span<const SettingDefault, kSessionKeyCount> SessionDefaults() {
  return std::span<const SettingDefault, kSessionKeyCount>(kDefaults);
}

Text SettingsFile() {
  return ProgramFile(kSettingsFileName);
}

Text ReadSetting(const Text& section, const Text& key) {
  return platform::ReadProfileText(SettingsFile(), section, key, Text());
}

bool WriteSetting(const Text& section, const Text& key, const Text& value) {
  return platform::WriteProfileText(SettingsFile(), section, key, value);
}

void WriteDefaults() {
  for (const SettingDefault& entry : kDefaults) {
    WriteSetting(kSessionSection, entry.key, entry.value);
  }
}

const Text& ConnectionSettings::Get(std::string_view key) const {
  static const Text kEmpty;
  const std::size_t index = KeyIndex(key);
  return index < kSessionKeyCount ? values_[index] : kEmpty;
}

bool ConnectionSettings::Set(std::string_view key, Text value) {
  const std::size_t index = KeyIndex(key);
  if (index == kSessionKeyCount) {
    return false;
  }
  values_[index] = std::move(value);
  return true;
}

void ConnectionSettings::Load() {
  for (std::size_t i = 0; i < kSessionKeyCount; ++i) {
    values_[i] = ReadSetting(kSessionSection, kDefaults[i].key);
  }
}

bool ConnectionSettings::Save() const {
  bool allWritten = true;
  for (std::size_t i = 0; i < kSessionKeyCount; ++i) {
    allWritten = WriteSetting(kSessionSection, kDefaults[i].key, values_[i]) && allWritten;
  }
  return allWritten;
}

ConnectionSettings& CurrentConnectionSettings() {
  static ConnectionSettings settings;
  return settings;
}

}  // namespace lumora::settings
