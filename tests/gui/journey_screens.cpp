#include "journey_screens.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "gui_fixture.h"

namespace lumora::gui_tests {

std::string HostPathUnderWine(std::string path) {
  if (!path.empty() && path.front() == '/') {
    path = "Z:" + path;
  }
  for (char& c : path) {
    if (c == '/') {
      c = '\\';
    }
  }
  return path;
}

JourneyScreens::JourneyScreens(const std::string& directory)
    : directory_(HostPathUnderWine(directory)) {
  std::error_code ignored;
  std::filesystem::create_directories(directory_, ignored);
  for (const auto& entry : std::filesystem::directory_iterator(directory_, ignored)) {
    if (entry.path().filename().string().rfind("journey_", 0) == 0) {
      std::filesystem::remove(entry.path(), ignored);
    }
  }
}

void JourneyScreens::Shoot(HWND window, const std::string& what) {
  if (window != nullptr) {
    // Sent to the window's own thread, so the paint is done when this returns.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  char number[8] = {};
  std::snprintf(number, sizeof(number), "%02d", ++taken_);
  const std::string name = "journey_" + std::string(number) + "_" + what + ".bmp";
  if (!SaveScreenshot(directory_ + "\\" + name)) {
    const std::lock_guard<std::mutex> hold(missedLock_);
    missed_.push_back(name);
  }
}

std::vector<std::string> JourneyScreens::Missed() const {
  const std::lock_guard<std::mutex> hold(missedLock_);
  return missed_;
}

}  // namespace lumora::gui_tests
