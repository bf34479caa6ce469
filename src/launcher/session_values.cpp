#include "launcher/session_values.h"

#include "settings/settings_store.h"

namespace lumora::launcher {
namespace {

namespace key = settings::key;

// "screen mode id": the client knows 1 (a window) and 2 (full screen). A value it cannot use
// opens a window: the session still starts, at the stored size.
constexpr Spelling kScreenMode[] = {{"0", "2"}, {"1", "1"}};

// "session bpp": the client's depths are 8, 15, 16, 24 and 32 bits. The first slider step
// stores "4", which no client offers any more: 8 is the nearest. A fresh config.ini holds "31"
// until the settings window is first closed, which then stores 32 (the slider's place for it).
constexpr Spelling kColourDepth[] = {{"4", "8"},   {"8", "8"},   {"15", "15"}, {"16", "16"},
                                     {"24", "24"}, {"31", "32"}, {"32", "32"}};

constexpr Spelling kOff[] = {{"0", "0"}, {"1", "1"}};
// "keyboardhook": 0 this computer, 1 the remote one, 2 the remote one in full screen only.
// "audiomode": 0 played here, 1 played on the remote computer, 2 not played.
constexpr Spelling kThreeWays[] = {{"0", "0"}, {"1", "1"}, {"2", "2"}};

// "disable wallpaper"/"disable themes" say the opposite of the boxes "显示桌面背景"/"显示桌面主
// 题": a ticked box ("1") shows them.
constexpr Spelling kShownMeansNotDisabled[] = {{"1", "0"}, {"0", "1"}};

// "devicestoredirect" is a device list: "*" every Plug and Play device, empty none.
constexpr Spelling kPnpDevices[] = {{"1", "*"}, {"0", ""}};

// Any other stored value is written as the settings window shows it: a box or button that the
// window leaves as its form defines it, the colour slider at 32 bits.
constexpr LineValues kLines[] = {
    {key::kWindowMode, kScreenMode, "1"},
    {key::kColourDepth, kColourDepth, "32"},
    {key::kCompression, kOff, "1"},
    {key::kKeyCombinations, kThreeWays, "2"},
    {key::kAudioPlayback, kThreeWays, "2"},
    {key::kPrinters, kOff, "0"},
    {key::kSerialPorts, kOff, "0"},
    {key::kSmartCards, kOff, "0"},
    {key::kConnectionBar, kOff, "1"},
    {key::kReconnect, kOff, "1"},
    {key::kRecording, kOff, "0"},
    {key::kClipboard, kOff, "1"},
    {key::kPnpDevices, kPnpDevices, ""},
    {key::kDesktopBackground, kShownMeansNotDisabled, "1"},
    {key::kDesktopTheme, kShownMeansNotDisabled, "1"},
};

}  // namespace

std::span<const LineValues> SessionLineValues() {
  return kLines;
}

Text SessionValue(std::string_view key, std::string_view value) {
  for (const LineValues& line : kLines) {
    if (line.key != key) {
      continue;
    }
    for (const Spelling& spelling : line.spellings) {
      if (spelling.stored == value) {
        return Text(spelling.written);
      }
    }
    return Text(line.otherwise);
  }
  return Text(value);
}

Text SessionDriveList(std::string_view stored) {
  Text list;
  while (!stored.empty()) {
    const std::size_t end = stored.find(';');
    std::string_view entry = stored.substr(0, end);
    stored.remove_prefix(end == std::string_view::npos ? stored.size() : end + 1);
    const bool drive =
        (entry.size() == 2 || (entry.size() == 3 && entry[2] == '\\')) && entry[1] == ':' &&
        ((entry[0] >= 'A' && entry[0] <= 'Z') || (entry[0] >= 'a' && entry[0] <= 'z'));
    if (drive) {
      list += static_cast<char>(entry[0] & ~0x20);  // the client's lists spell drives in capitals
      list += entry.substr(1);
      list += ';';
    }
  }
  return list;
}

}  // namespace lumora::launcher
