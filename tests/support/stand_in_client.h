// Where the stand-in remote-desktop client that the build makes lives, as a Windows program
// under Wine sees it. The tests and benchmarks that connect put its folder first on PATH.
#pragma once

#include <algorithm>
#include <string>

namespace lumora::testing_support {

// The folder of a file that the build names with a host path, as a Windows path: under Wine the
// host's root is drive Z.
inline std::string WindowsFolderOf(std::string path) {
  if (!path.empty() && path.front() == '/') {
    path = "Z:" + path;
  }
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.substr(0, path.rfind('\\'));
}

#ifdef LUMORA_STANDIN_MSTSC
// The folder holding the stand-in mstsc.exe.
inline std::string StandInDirectory() {
  return WindowsFolderOf(LUMORA_STANDIN_MSTSC);
}
#endif

}  // namespace lumora::testing_support
