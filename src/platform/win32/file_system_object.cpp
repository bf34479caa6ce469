#include "platform/win32/file_system_object.h"

#include "platform/win32/com.h"

namespace lumora::platform::win32 {

int FileSystemObjectDriveType(const Text& root) {
  const ComApartment apartment;
  const ComRef<IDispatch> fileSystem = CreateObject(L"scripting.FileSystemObject");
  UniqueVariant drive;
  const UniqueVariant argument = UniqueVariant::String(root);
  if (!fileSystem || !CallMethod(fileSystem.get(), L"GetDrive", {&argument}, &drive) ||
      drive.get().vt != VT_DISPATCH || drive.get().pdispVal == nullptr) {
    return 0;
  }
  LONG type = 0;
  return GetLongProperty(drive.get().pdispVal, L"DriveType", type) ? static_cast<int>(type) : 0;
}

}  // namespace lumora::platform::win32
