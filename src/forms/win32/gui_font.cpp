#include "forms/win32/gui_font.h"

#include <cwchar>

namespace lumora::forms::win32 {
namespace {

// Faces with Simplified Chinese glyphs, most usual first: Windows' own, then those of Linux
// desktops (what Wine finds through fontconfig).
constexpr const wchar_t* kChineseFaces[] = {
    L"Microsoft YaHei UI",  L"Microsoft YaHei",   L"SimSun",           L"NSimSun",
    L"WenQuanYi Micro Hei", L"WenQuanYi Zen Hei", L"Noto Sans CJK SC", L"Source Han Sans SC",
    L"Droid Sans Fallback",
};

// Height in pixels below which Chinese glyphs lose strokes.
constexpr LONG kMinimumHeight = 12;

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasChineseGlyphs(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = GB2312_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  HDC screen = GetDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(screen, &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return metrics.lfMessageFont;
  }
  LOGFONTW fallback{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
  return fallback;
}

}  // namespace

UniqueFont CreateGuiFont() {
  LOGFONTW font = MessageFont();
  if (!HasChineseGlyphs(font.lfFaceName)) {
    for (const wchar_t* face : kChineseFaces) {
      if (HasChineseGlyphs(face)) {
        wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
        font.lfFaceName[LF_FACESIZE - 1] = L'\0';
        break;
      }
    }
  }
  if (font.lfHeight < 0 && font.lfHeight > -kMinimumHeight) {
    font.lfHeight = -kMinimumHeight;
  }
  font.lfCharSet = DEFAULT_CHARSET;
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace lumora::forms::win32
