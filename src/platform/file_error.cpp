#include "platform/file_error.h"

namespace lumora::platform {
namespace {

thread_local FileError last_error = FileError::kNone;

}  // namespace

FileError LastFileError() {
  return last_error;
}

void SetLastFileError(FileError error) {
  last_error = error;
}

}  // namespace lumora::platform
