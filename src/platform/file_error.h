// Why a file operation failed, as far as the system tells: the platform's file calls record it
// for the thread that made them, so that whoever tells the user can say what went wrong.
#pragma once

namespace lumora::platform {

enum class FileError {
  kNone,
  kMissing,
  kNotAFile,  // a folder, a pipe, a device: anything but a regular file
  kReadOnly,  // the file or its folder is read-only, or the disk is
  kInUse,     // another program holds it
  kDiskFull,
  kOther,
};

// The reason the last failing call of OpenLockedFile or of a LockedFile gave, in this thread.
FileError LastFileError();
void SetLastFileError(FileError error);

}  // namespace lumora::platform
