#include "platform/drives.h"

#include <windows.h>

#include <string>

#include "platform/win32/file_system_object.h"

namespace lumora::platform {
namespace {

// The buffers the system fills: a label holds at most MAX_PATH + 1 bytes, and the file-system
// name is asked for with 255 bytes.
constexpr DWORD kLabelBufferSize = MAX_PATH + 1;
constexpr DWORD kFileSystemBufferSize = 255;

class WindowsDrives final : public Drives {
 public:
  DriveType SystemDriveType(const Text& drive) const override {
    return static_cast<DriveType>(::GetDriveTypeA(drive.c_str()));
  }

  int AutomationDriveType(const Text& root) const override {
    return win32::FileSystemObjectDriveType(root);
  }

  VolumeInformation Volume(const Text& root) const override {
    std::string label(kLabelBufferSize, '\0');
    std::string fileSystem(kFileSystemBufferSize, '\0');
    // A drive without a medium fails the call; both texts then stay empty.
    if (!::GetVolumeInformationA(root.c_str(), label.data(), kLabelBufferSize, nullptr, nullptr,
                                 nullptr, fileSystem.data(), kFileSystemBufferSize)) {
      return {};
    }
    label.resize(std::char_traits<char>::length(label.c_str()));
    fileSystem.resize(std::char_traits<char>::length(fileSystem.c_str()));
    return {label, fileSystem};
  }
};

}  // namespace

const Drives& SystemDrives() {
  static const WindowsDrives drives;
  return drives;
}

}  // namespace lumora::platform
