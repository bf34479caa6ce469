// Systems without drive letters have no drives to offer for redirection.
#include "platform/drives.h"

namespace lumora::platform {
namespace {

class NoDrives final : public Drives {
 public:
  DriveType SystemDriveType(const Text&) const override { return DriveType::kNoRootDirectory; }
  int AutomationDriveType(const Text&) const override { return 0; }
  VolumeInformation Volume(const Text&) const override { return {}; }
};

}  // namespace

const Drives& SystemDrives() {
  static const NoDrives drives;
  return drives;
}

}  // namespace lumora::platform
