// The stand-in remote-desktop client (tools/standin_mstsc) put in the program's way for one
// test: found along the search path as "mstsc", it records in a log directory how it was started.
#pragma once

#include <string>

#include "scoped_variable.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {

class StandInClient {
 public:
  // Puts the stand-in's directory first on this process's search path and names the log
  // directory; both are restored when the object goes.
  StandInClient();
  StandInClient(const StandInClient&) = delete;
  StandInClient& operator=(const StandInClient&) = delete;

  // The directory the build put the stand-in in, as this process names it.
  static std::string Directory();
  // A real client in the system directory would be started instead of the stand-in.
  static bool SystemHasItsOwnClient();

  const testing_support::TempDirectory& Log() const { return log_; }
  // The stand-in writes its command line last: once it is there, the call is recorded.
  bool Called() const { return log_.Contains("command-line.txt"); }

 private:
  testing_support::TempDirectory log_;
  ScopedVariable path_;
  ScopedVariable logVariable_;
};

}  // namespace lumora::gui_tests
