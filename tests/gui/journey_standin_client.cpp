#include "journey_standin_client.h"

#include <windows.h>

#include "journey_screens.h"
#include "platform/files.h"
#include "scoped_variable.h"

namespace lumora::gui_tests {
StandInClient::StandInClient()
    : path_("PATH", Directory() + ";" + Variable("PATH")),
      logVariable_("LUMORA_STANDIN_LOG", log_.Path()) {}

std::string StandInClient::Directory() {
  const std::string file = HostPathUnderWine(LUMORA_STANDIN_MSTSC);
  return file.substr(0, file.rfind('\\'));
}

bool StandInClient::SystemHasItsOwnClient() {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  return platform::FileExists(std::string(system) + "\\mstsc.exe");
}

}  // namespace lumora::gui_tests
