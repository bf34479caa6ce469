// Lumora's own artwork, compiled into the program (drawn by tools/images/make_images.py).
#pragma once

#include <span>

#include "forms/window_definition.h"

namespace lumora::forms::images {

// Window icons: ICO files holding one 32-bit image (BGRA with an AND mask).
ImageData LoginIcon();     // 48 x 32
ImageData MainIcon();      // 64 x 64
ImageData EditorIcon();    // 48 x 32, the host editor
ImageData SettingsIcon();  // 48 x 32, the settings window

// Picture-box icons: ICO files holding one 32 x 32, 32-bit image.
ImageData EditorPicture();
ImageData SettingsPicture();

// The product logo: PNG, 291 x 81, 8-bit RGBA, transparent around the artwork.
ImageData Logo();

// Toolbar pictures: PNG, 48 x 29, RGBA, in image-list order.
inline constexpr int kToolbarImageWidth = 48;
inline constexpr int kToolbarImageHeight = 29;
enum ToolbarImage : int {
  kToolbarConnect = 0,
  kToolbarAbout = 1,
  kToolbarModify = 2,
  kToolbarRefresh = 3,
  kToolbarAdd = 4,
  kToolbarClear = 5,
  kToolbarDelete = 6,
  kToolbarSettings = 7,
};
std::span<const ImageData> ToolbarImages();  // 8 entries
ImageList ToolbarImageList();

// Server list row status marks: PNG, 12 x 12, RGBA.
inline constexpr int kRowIconSize = 12;
enum RowIcon : int {
  kRowOffline = 0,
  kRowOnline = 1,
  kRowChecking = 2,
  kRowNew = 3,
};
std::span<const ImageData> RowIcons();  // 4 entries
ImageList RowIconList();

}  // namespace lumora::forms::images
