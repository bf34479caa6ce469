// Numbered screenshots of the journey through the program, kept under build/screens/ for a
// person to look at afterwards.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace lumora::gui_tests {

// Turns a path of the build machine into one this process can open: under Wine the host's root
// is drive Z.
std::string HostPathUnderWine(std::string path);

class JourneyScreens {
 public:
  // Clears the shots of an earlier run from `directory` (a host path).
  explicit JourneyScreens(const std::string& directory);

  // Repaints `window` (and its children) and saves the whole screen as journey_NN_<what>.bmp.
  // Callable from any thread.
  void Shoot(HWND window, const std::string& what);

  // The names of the shots that could not be saved.
  std::vector<std::string> Missed() const;

 private:
  std::string directory_;
  std::atomic<int> taken_{0};
  mutable std::mutex missedLock_;
  std::vector<std::string> missed_;
};

}  // namespace lumora::gui_tests
