// The default GUI font of every window and control.
#pragma once

#include "forms/win32/win32_handles.h"

namespace lumora::forms::win32 {

// The system's message font when it has Chinese glyphs, otherwise the first installed face
// that has them at the same size; Chinese captions never show as boxes.
UniqueFont CreateGuiFont();

}  // namespace lumora::forms::win32
