#include "platform/drives.h"

namespace lumora::platform {
namespace {

const Drives* replacement = nullptr;

}  // namespace

const Drives& CurrentDrives() {
  return replacement != nullptr ? *replacement : SystemDrives();
}

void UseDrives(const Drives* drives) {
  replacement = drives;
}

}  // namespace lumora::platform
