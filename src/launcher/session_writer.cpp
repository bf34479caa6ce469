#include "launcher/session_writer.h"

#include "launcher/host_file_name.h"
#include "platform/files.h"

namespace lumora::launcher {

std::optional<SessionFile> WriteSessionFile(const SessionInputs& inputs) {
  SessionFile file = BuildSessionFile(inputs);
  if (!IsPlainFileName(HistoryFileStem(inputs.host))) {
    return std::nullopt;
  }
  if (!platform::CreateFolder(HistoryFolder()) ||
      !platform::WriteFileContent(file.path, file.content)) {
    return std::nullopt;
  }
  return file;
}

}  // namespace lumora::launcher
