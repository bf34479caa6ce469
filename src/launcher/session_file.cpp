#include "launcher/session_file.h"

#include <algorithm>

#include "launcher/host_file_name.h"
#include "launcher/mode_switch.h"
#include "launcher/password_blob.h"
#include "launcher/placeholder.h"
#include "launcher/screen_size.h"
#include "launcher/session_template.h"
#include "launcher/session_values.h"
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

}  // namespace

Text SessionFileContent(const ServerValues& server, const settings::ConnectionSettings& settings) {
  // What the client takes for each stored setting.
  const auto clientValue = [&settings](std::string_view name) {
    return SessionValue(name, WithoutLineBreaks(settings.Get(name)));
  };
  const ScreenSize size = ScreenSizeFrom(WithoutLineBreaks(settings.Get(key::kWindowSize)));
  const Replacement replacements[] = {
      {"%服务器地址%", server.host + ":" + server.port},
      {"%账号%", server.user},
      {"%密码%", server.passwordBlob},
      {"%域%", server.domain},
      {"%窗口模式%", clientValue(key::kWindowMode)},
      {"%窗口宽度%", size.width},
      {"%窗口高度%", size.height},
      {"%监视器颜色%", clientValue(key::kColourDepth)},
      {"%压缩%", clientValue(key::kCompression)},
      {"%组合键%", clientValue(key::kKeyCombinations)},
      {"%音频播放%", clientValue(key::kAudioPlayback)},
      {"%打印机%", clientValue(key::kPrinters)},
      {"%串行口%", clientValue(key::kSerialPorts)},
      {"%智能卡%", clientValue(key::kSmartCards)},
      {"%映射磁盘%", SessionDriveList(WithoutLineBreaks(settings.Get(key::kLocalDrives)))},
      {"%PnP设备%", clientValue(key::kPnpDevices)},
      {"%剪贴板%", clientValue(key::kClipboard)},
      {"%录音%", clientValue(key::kRecording)},
      {"%全屏栏%", clientValue(key::kConnectionBar)},
      {"%重连%", clientValue(key::kReconnect)},
      {"%桌面背景%", clientValue(key::kDesktopBackground)},
      {"%桌面主题%", clientValue(key::kDesktopTheme)},
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
  return HistoryFolder() + "\\" + HistoryFileStem(host) + ".rdp";
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
