// The system's drives under Wine: drive types, the file-system object of scrrun and the volume
// information of C:.
#include "platform/drives.h"

#include <gtest/gtest.h>

namespace lumora::platform {
namespace {

TEST(SystemDrivesTest, DriveCIsAFixedDiskForBothTheSystemAndTheFileSystemObject) {
  const Drives& drives = SystemDrives();
  EXPECT_EQ(drives.SystemDriveType("C:"), DriveType::kFixed);
  EXPECT_EQ(drives.AutomationDriveType("C:\\"), kAutomationFixedDisk);
  EXPECT_FALSE(drives.Volume("C:\\").fileSystem.empty());
}

TEST(SystemDrivesTest, AMissingDriveHasNoRootAndNoAutomationType) {
  const Drives& drives = SystemDrives();
  // Wine maps C: and Z: by default; a letter near the end of the alphabet is left unmapped.
  Text missing;
  for (char letter = 'Y'; letter > 'D'; --letter) {
    if (drives.SystemDriveType(Text{letter, ':'}) == DriveType::kNoRootDirectory) {
      missing = Text{letter, ':'};
      break;
    }
  }
  ASSERT_FALSE(missing.empty());
  EXPECT_EQ(drives.AutomationDriveType(missing + "\\"), 0);
  const VolumeInformation volume = drives.Volume(missing + "\\");
  EXPECT_EQ(volume.label, "");
  EXPECT_EQ(volume.fileSystem, "");
}

TEST(SystemDrivesTest, TestsCanPutOtherDrivesInPlace) {
  class NoDrives final : public Drives {
   public:
    DriveType SystemDriveType(const Text&) const override { return DriveType::kUnknown; }
    int AutomationDriveType(const Text&) const override { return 0; }
    VolumeInformation Volume(const Text&) const override { return {}; }
  } none;
  UseDrives(&none);
  EXPECT_EQ(CurrentDrives().SystemDriveType("C:"), DriveType::kUnknown);
  UseDrives(nullptr);
  EXPECT_EQ(CurrentDrives().SystemDriveType("C:"), DriveType::kFixed);
}

}  // namespace
}  // namespace lumora::platform
