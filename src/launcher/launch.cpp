#include "launcher/launch.h"

#include <optional>

#include "launcher/session_writer.h"
#include "platform/process.h"

namespace lumora::launcher {

Text LaunchTip(LaunchOutcome outcome) {
  switch (outcome) {
    case LaunchOutcome::kStarted:
      return "正在进行远程协助!";
    case LaunchOutcome::kWriteFailed:
      return "远程RDP文件写出出错!";
    case LaunchOutcome::kClientNotStarted:
      return "远程桌面程序启动失败!";
  }
  return {};
}

Text ClientCommandLine(const Text& path, const Text& modeSwitch) {
  return "mstsc \"" + path + "\"" + modeSwitch;
}

LaunchOutcome LaunchSession(const SessionInputs& inputs) {
  const std::optional<SessionFile> file = WriteSessionFile(inputs);
  if (!file) {
    return LaunchOutcome::kWriteFailed;
  }
  if (!platform::StartProcess(ClientCommandLine(file->path, file->modeSwitch))) {
    return LaunchOutcome::kClientNotStarted;
  }
  return LaunchOutcome::kStarted;
}

}  // namespace lumora::launcher
