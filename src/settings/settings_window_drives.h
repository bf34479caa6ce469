// The drive list of the settings window: the fixed disks that a session may redirect.
#pragma once

#include "base/text.h"

namespace lumora::settings {

// Lists the drives A: to Z: that the system counts as removable, fixed, remote or CD-ROM and
// that the file-system automation object calls fixed disks, with volume label and file-system
// name; then ticks the rows named in the stored "本地驱动器". An empty list is said in a balloon.
void FillDriveList();

// The drive texts of the ticked rows, in list order, each followed by ";".
Text TickedDrives();

}  // namespace lumora::settings
