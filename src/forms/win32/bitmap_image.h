// PNG pictures as 32-bit premultiplied DIB sections, alone or gathered in an image list.
#pragma once

#include <windows.h>

#include "forms/win32/win32_handles.h"
#include "forms/window_definition.h"

namespace lumora::forms::win32 {

struct Bitmap32 {
  UniqueBitmap bitmap;
  int width = 0, height = 0;
};

// Decodes PNG data into a top-down BGRA bitmap with premultiplied alpha (what AlphaBlend and
// 32-bit image lists draw). With a width and height the picture is centred on a transparent
// bitmap of that size, cropped where it is larger; 0, 0 keeps the picture's own size. Empty
// when the data does not decode.
Bitmap32 BitmapFromPng(ImageData png, int width = 0, int height = 0);

// An ILC_COLOR32 image list of the given size holding every picture in order; a picture that
// does not decode takes its place as a blank so that later indexes still match.
UniqueImageList CreateImageList(const ImageList& images);

}  // namespace lumora::forms::win32
