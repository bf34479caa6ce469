#include "launcher/session_file.h"

#include <algorithm>

#include "launcher/mode_switch.h"
#include "launcher/password_blob.h"
#include "launcher/placeholder.h"
#include "launcher/screen_size.h"
#include "launcher/session_template.h"
#include "platform/program_directory.h"

namespace lumora::launcher {
namespace {

namespace key = settings::key;

// A line break inside a value would start a line of the value's own choosing in the file.
Text WithoutLineBreaks(std::string_view value) {
  Text clean(value);
  std::erase_if(clean, [](char c) { return c == '\r' || c == '\n'; });
  return clean;
}

struct Replacement {
  std::string_view placeholder;
  Text value;
};

// config.ini keeps "1" for a ticked "显示桌面背景"/"显示桌面主题" (show it); the session file's
// lines say "disable", so they take the opposite.
Text DisableLine(const Text& shown) {
  return shown == "1" ? "0" : "1";
}

}  // namespace

Text SessionFileContent(const ServerValues& server, const settings::ConnectionSettings& settings) {
  const ScreenSize size = ScreenSizeFrom(settings.Get(key::kWindowSize));
  const Replacement replacements[] = {
      {"%服务器地址%", server.host + ":" + server.port},
      {"%账号%", server.user},
      {"%密码%", server.passwordBlob},
      {"%域%", server.domain},
      {"%窗口模式%", settings.Get(key::kWindowMode)},
      {"%窗口宽度%", size.width},
      {"%窗口高度%", size.height},
      {"%监视器颜色%", settings.Get(key::kColourDepth)},
      {"%压缩%", settings.Get(key::kCompression)},
      {"%组合键%", settings.Get(key::kKeyCombinations)},
      {"%音频播放%", settings.Get(key::kAudioPlayback)},
      {"%打印机%", settings.Get(key::kPrinters)},
      {"%串行口%", settings.Get(key::kSerialPorts)},
      {"%智能卡%", settings.Get(key::kSmartCards)},
      {"%映射磁盘%", settings.Get(key::kLocalDrives)},
      {"%PnP设备%", settings.Get(key::kPnpDevices)},
      {"%剪贴板%", settings.Get(key::kClipboard)},
      {"%录音%", settings.Get(key::kRecording)},
      {"%全屏栏%", settings.Get(key::kConnectionBar)},
      {"%重连%", settings.Get(key::kReconnect)},
      {"%桌面背景%", DisableLine(settings.Get(key::kDesktopBackground))},
      {"%桌面主题%", DisableLine(settings.Get(key::kDesktopTheme))},
  };
  Text content(SessionTemplate());
  for (const Replacement& replacement : replacements) {
    content =
        ReplacePlaceholder(content, replacement.placeholder, WithoutLineBreaks(replacement.value));
  }
  return content;
}

Text HistoryFolder() {
  return ProgramFile("History");
}

Text SessionFilePath(std::string_view host) {
  return HistoryFolder() + "\\" + Text(host) + ".rdp";
}

SessionFile BuildSessionFile(const SessionInputs& inputs) {
  const ServerValues server{inputs.host, inputs.port, inputs.user,
                            MakePasswordBlob(inputs.password), inputs.domain};
  settings::ConnectionSettings fresh;
  fresh.Load();
  Text& modeSwitch = CurrentModeSwitch();
  modeSwitch = NextModeSwitch(fresh.Get(key::kForcedMode), modeSwitch);
  return SessionFile{SessionFilePath(inputs.host), SessionFileContent(server, fresh), modeSwitch};
}

}  // namespace lumora::launcher
