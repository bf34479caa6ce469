// Icons from ICO file data.
#pragma once

#include <windows.h>

#include "forms/win32/win32_handles.h"
#include "forms/window_definition.h"

namespace lumora::forms::win32 {

struct IconImage {
  UniqueIcon icon;
  int width = 0, height = 0;
};

// True when `data` starts like an ICO file.
bool IsIcoData(ImageData data);

// Makes an icon from the ICO entry that suits width x height best (the smallest at least that
// large, else the largest), scaled to that size; 0, 0 takes the largest entry at its own size.
// Empty when the data is not a usable ICO file.
IconImage IconFromIco(ImageData data, int width = 0, int height = 0);

}  // namespace lumora::forms::win32
