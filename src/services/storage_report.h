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
  // The engine's own words for the check that refused the last change, or opening the file for
  // writing, and where it stands: "a unique key would repeat at table_writer.cpp:112",
  // "consistency check: Server: page 12 is in use but marked free". Empty when it gave none.
  Text refusal;
};

}  // namespace lumora::services
