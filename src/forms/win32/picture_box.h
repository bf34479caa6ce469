// The picture box: a small window class that paints one image, centred, over a background colour.
#pragma once

#include <windows.h>

#include <memory>

#include "forms/win32/win32_handles.h"
#include "forms/window_definition.h"

namespace lumora::forms::win32 {

inline constexpr wchar_t kPictureBoxClass[] = L"LumoraPictureBox";

// What a picture box shows: a 32-bit premultiplied bitmap (PNG data) or an icon (ICO data).
struct PictureImage {
  UniqueBitmap bitmap;
  UniqueIcon icon;
  int width = 0, height = 0;
  UniqueBrush background;
};

// Decodes `image` (PNG or ICO data; anything else shows the background alone).
std::unique_ptr<PictureImage> LoadPicture(ImageData image, COLORREF background);

// Registers the window class once per process; the window's creation parameter is its
// PictureImage, which must outlive the window.
bool RegisterPictureBoxClass();

}  // namespace lumora::forms::win32
