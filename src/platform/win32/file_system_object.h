// The drive-type test through the file-system automation object ("scripting.FileSystemObject").
#pragma once

#include "base/text.h"

namespace lumora::platform::win32 {

// "DriveType" of GetDrive(`root`) on a new file-system object, released again before returning;
// 0 when the object cannot be created or the drive cannot be asked.
int FileSystemObjectDriveType(const Text& root);

}  // namespace lumora::platform::win32
