// Owners for the handles this backend creates: one alias per kind over the project's move-only
// handle template.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/unique_handle.h"

namespace lumora::forms::win32 {

template <typename T, auto Close>
using UniqueHandle = platform::win32::UniqueHandle<T, Close>;

inline void DeleteGdiObject(HGDIOBJ object) {
  DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) {
  DestroyIcon(icon);
}
inline void DestroyImageListHandle(HIMAGELIST list) {
  ImageList_Destroy(list);
}
inline void DeleteMemoryDc(HDC dc) {
  DeleteDC(dc);
}
inline void DestroyWindowHandle(HWND window) {
  DestroyWindow(window);
}
// Windows owned by a frame go with it; their owner checks before destroying once more.
inline void DestroyWindowIfAlive(HWND window) {
  if (IsWindow(window)) {
    DestroyWindow(window);
  }
}

using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueImageList = UniqueHandle<HIMAGELIST, DestroyImageListHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteMemoryDc>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowHandle>;
using UniqueOwnedWindow = UniqueHandle<HWND, DestroyWindowIfAlive>;

}  // namespace lumora::forms::win32
