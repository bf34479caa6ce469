// What opening a catalogue file, or the last change to it, met that the user should hear about:
// engines collect it, DBConnection passes it on, and the rooms above put it in words.
#pragma once

#include "base/text.h"
#include "platform/file_error.h"

namespace lumora::services {

struct StorageReport {
  // Why the file could not be opened for writing (it is then only read, or not opened at all), or
  // why the last change failed.
  platform::FileError error = platform::FileError::kNone;
  // The new name of a journal found beside the file that belonged to another file.
  Text journal_set_aside;
  // A journal beside the file could be neither played back nor put aside: the file is only read.
  bool journal_stuck = false;
};

}  // namespace lumora::services
