#include "forms/win32/picture_box.h"

#include "forms/win32/bitmap_image.h"
#include "forms/win32/exception_barrier.h"
#include "forms/win32/icon_image.h"

namespace lumora::forms::win32 {
namespace {

// Selects a GDI object into a DC for the life of the scope.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelection() { SelectObject(dc_, previous_); }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

void Paint(HWND window, HDC dc) {
  const auto* picture =
      reinterpret_cast<const PictureImage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  RECT client{};
  GetClientRect(window, &client);
  if (picture == nullptr) {
    return;
  }
  FillRect(dc, &client, picture->background.get());
  const int x = (client.right - picture->width) / 2;
  const int y = (client.bottom - picture->height) / 2;
  if (picture->icon) {
    DrawIconEx(dc, x, y, picture->icon.get(), picture->width, picture->height, 0, nullptr,
               DI_NORMAL);
    return;
  }
  if (!picture->bitmap) {
    return;
  }
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) {
    return;
  }
  ScopedSelection selection(memory.get(), picture->bitmap.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, picture->width, picture->height, memory.get(), 0, 0, picture->width,
             picture->height, blend);
}

LRESULT PictureBoxMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      Paint(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded([&] { return PictureBoxMessage(window, message, wParam, lParam); });
}

}  // namespace

std::unique_ptr<PictureImage> LoadPicture(ImageData image, COLORREF background) {
  auto picture = std::make_unique<PictureImage>();
  picture->background.reset(CreateSolidBrush(background));
  if (IsIcoData(image)) {
    IconImage icon = IconFromIco(image);
    picture->icon = std::move(icon.icon);
    picture->width = icon.width;
    picture->height = icon.height;
  } else if (!image.empty()) {
    Bitmap32 bitmap = BitmapFromPng(image);
    picture->bitmap = std::move(bitmap.bitmap);
    picture->width = bitmap.width;
    picture->height = bitmap.height;
  }
  return picture;
}

bool RegisterPictureBoxClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = PictureBoxProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPictureBoxClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace lumora::forms::win32
