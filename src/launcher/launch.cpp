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
    case LaunchOutcome::kClientTells:
      return {};
  }
  return {};
}

Text ClientCommandLine(const Text& path, const Text& modeSwitch) {
  // The system's own client by its full path: by its bare name the system would look beside the
  // program first, where anyone who may write that folder could put a "mstsc.exe" that receives
  // every session file and its password. Where the system has none (Wine), the bare name finds the
  // bridge placed beside the program.
  const Text client = platform::SystemProgram("mstsc.exe");
  return (client.empty() ? Text("mstsc") : "\"" + client + "\"") + " \"" + path + "\"" + modeSwitch;
}

LaunchOutcome LaunchSession(const SessionInputs& inputs,
                            const std::function<void()>& whenClientTells) {
  const std::optional<SessionFile> file = WriteSessionFile(inputs);
  if (!file) {
    return LaunchOutcome::kWriteFailed;
  }
  switch (
      platform::StartProcess(ClientCommandLine(file->path, file->modeSwitch), whenClientTells)) {
    case platform::StartedProgram::kNotStarted:
      return LaunchOutcome::kClientNotStarted;
    case platform::StartedProgram::kTellsTheUser:
      return LaunchOutcome::kClientTells;
    case platform::StartedProgram::kStarted:
      break;
  }
  return LaunchOutcome::kStarted;
}

}  // namespace lumora::launcher
