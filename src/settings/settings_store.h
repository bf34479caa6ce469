// config.ini in the program directory: the session options (section "RDP") and the enciphered
// start-up password (section "Security").
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "base/text.h"

namespace lumora::settings {

inline constexpr char kSettingsFileName[] = "config.ini";
inline constexpr char kSessionSection[] = "RDP";
inline constexpr char kSecuritySection[] = "Security";
inline constexpr char kPasswordKey[] = "Password";

// The keys of section "RDP", in the order the defaults are written and the settings are saved.
namespace key {
inline constexpr char kWindowMode[] = "窗口模式";
inline constexpr char kWindowSize[] = "窗口数据";
inline constexpr char kColourDepth[] = "监视器颜色";
inline constexpr char kDriveMapping[] = "磁盘映射";
inline constexpr char kLocalDrives[] = "本地驱动器";
inline constexpr char kClipboard[] = "剪贴板";
inline constexpr char kPrinters[] = "打印机";
inline constexpr char kSerialPorts[] = "串行口";
inline constexpr char kSmartCards[] = "智能卡";
inline constexpr char kReconnect[] = "重连";
inline constexpr char kForcedMode[] = "强制模式";
inline constexpr char kCompression[] = "压缩";
inline constexpr char kConnectionBar[] = "全屏栏";
inline constexpr char kDesktopBackground[] = "桌面背景";
inline constexpr char kDesktopTheme[] = "桌面主题";
inline constexpr char kPnpDevices[] = "PnP设备";
inline constexpr char kRecording[] = "录音";
inline constexpr char kAudioPlayback[] = "音频播放";
inline constexpr char kKeyCombinations[] = "组合键";
}  // namespace key

struct SettingDefault {
  const char* key;
  const char* value;
};

inline constexpr std::size_t kSessionKeyCount = 19;

// The nineteen keys of section "RDP" with their defaults, in table order. "监视器颜色" defaults
// to "31", which matches none of the depths the settings window offers.
std::span<const SettingDefault, kSessionKeyCount> SessionDefaults();

// ProgramDirectory() + "\config.ini".
Text SettingsFile();

// The value as stored, or the empty text when the file, the section or the key is missing.
Text ReadSetting(const Text& section, const Text& key);

// Writes one value; false when it could not be written (only the start-up password looks).
bool WriteSetting(const Text& section, const Text& key, const Text& value);

// Writes the nineteen "RDP" defaults, one write each, in table order; "Security" is left alone.
void WriteDefaults();

// The session options held in memory, keyed as in section "RDP". The user-interface thread
// alone uses it.
class ConnectionSettings {
 public:
  // A key outside section "RDP" reads as the empty text.
  const Text& Get(std::string_view key) const;
  // False (and nothing kept) for a key outside section "RDP".
  bool Set(std::string_view key, Text value);

  // Reads all nineteen values from config.ini (missing ones as empty texts).
  void Load();
  // Writes all nineteen values to config.ini, in table order; every write is tried even after
  // one fails. False when any of them could not be written (a read-only file).
  bool Save() const;

 private:
  std::array<Text, kSessionKeyCount> values_;
};

// The process-wide instance.
ConnectionSettings& CurrentConnectionSettings();

}  // namespace lumora::settings
