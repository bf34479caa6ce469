// The machine's drives as the settings window lists them: the system's drive type, the type the
// file-system automation object reports, and the volume label and file-system name.
#pragma once

#include "base/text.h"

namespace lumora::platform {

// The system's drive types, numbered as the system numbers them.
enum class DriveType : int {
  kUnknown = 0,
  kNoRootDirectory = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// The "DriveType" the automation object gives a fixed disk.
inline constexpr int kAutomationFixedDisk = 2;

struct VolumeInformation {
  Text label;
  Text fileSystem;
};

class Drives {
 public:
  virtual ~Drives() = default;
  // The system's type of `drive` (a letter and a colon, "C:").
  virtual DriveType SystemDriveType(const Text& drive) const = 0;
  // Property "DriveType" of method "GetDrive" of a new "scripting.FileSystemObject" for `root`
  // ("C:\"); 0 when the object cannot be created or does not answer.
  virtual int AutomationDriveType(const Text& root) const = 0;
  // Empty texts for what the system does not tell.
  virtual VolumeInformation Volume(const Text& root) const = 0;
};

// The drives in use: the system's, unless a test has put others in place.
const Drives& CurrentDrives();

// `drives` answers every later query until it is called again; nullptr gives the system's back.
void UseDrives(const Drives* drives);

// The system's own drives (no drives at all where the platform has no drive letters).
const Drives& SystemDrives();

}  // namespace lumora::platform
