// A fresh directory for one test, removed with everything in it at the end.
#pragma once

#include <string>

#include "base/text.h"

namespace lumora::testing_support {

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // The directory as the program forms paths: a Windows path on Windows, a POSIX path natively;
  // no trailing separator.
  const Text& Path() const { return path_; }
  // A path of a file inside, usable with the C++ library (std::ofstream and friends).
  std::string NativePath(const std::string& name) const;
  bool Contains(const std::string& name) const;

 private:
  Text path_;
};

}  // namespace lumora::testing_support
