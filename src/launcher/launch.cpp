#include "launcher/launch.h"

#include "launcher/host_file_name.h"
#include "platform/files.h"
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
  const SessionFile file = BuildSessionFile(inputs);
  if (!IsPlainFileName(inputs.host)) {
    return LaunchOutcome::kWriteFailed;
  }
  if (!platform::CreateFolder(HistoryFolder()) ||
      !platform::WriteFileContent(file.path, file.content)) {
    return LaunchOutcome::kWriteFailed;
  }
  if (!platform::StartProcess(ClientCommandLine(file.path, file.modeSwitch))) {
    return LaunchOutcome::kClientNotStarted;
  }
  return LaunchOutcome::kStarted;
}

}  // namespace lumora::launcher
