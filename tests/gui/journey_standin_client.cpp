#include "journey_standin_client.h"

#include <windows.h>

#include "journey_screens.h"
#include "platform/files.h"

namespace lumora::gui_tests {
namespace {

std::string Variable(const char* name) {
  std::string value(32768, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value.data(), 32768);
  value.resize(length < 32768 ? length : 0);
  return value;
}

void Restore(const char* name, const std::string& old) {
  SetEnvironmentVariableA(name, old.empty() ? nullptr : old.c_str());
}

}  // namespace

StandInClient::StandInClient()
    : oldPath_(Variable("PATH")), oldLog_(Variable("LUMORA_STANDIN_LOG")) {
  SetEnvironmentVariableA("PATH", (Directory() + ";" + oldPath_).c_str());
  SetEnvironmentVariableA("LUMORA_STANDIN_LOG", log_.Path().c_str());
}

StandInClient::~StandInClient() {
  Restore("PATH", oldPath_);
  Restore("LUMORA_STANDIN_LOG", oldLog_);
}

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
