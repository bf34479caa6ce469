// Screenshots of the test display: saved when a GUI test fails, read for pixel checks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "forms/win32/win32_handles.h"
#include "gui_fixture.h"

namespace lumora::gui_tests {
namespace {

// The device context of the whole screen, released with its owner.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

template <typename T>
void Put(std::ofstream& out, T value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof(value));
}

// Where failure screenshots go: $LUMORA_SCREENS_DIR, else screens/ under the working directory.
std::filesystem::path ScreensDirectory() {
  const char* configured = std::getenv("LUMORA_SCREENS_DIR");
  return configured != nullptr && *configured != '\0' ? std::filesystem::path(configured)
                                                      : std::filesystem::path("screens");
}

class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo& test) override {
    if (!test.result()->Failed()) {
      return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(ScreensDirectory(), ignored);
    const std::filesystem::path file =
        ScreensDirectory() / (std::string(test.test_suite_name()) + "." + test.name() + ".bmp");
    if (SaveScreenshot(file.string())) {
      std::printf("screenshot: %s\n", file.string().c_str());
    }
  }
};

const bool kListenerInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
  return true;
}();

}  // namespace

bool SaveScreenshot(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) {
    return false;
  }
  const ScreenDc screen;
  forms::win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  forms::win32::UniqueBitmap bitmap(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !memory || bits == nullptr) {
    return false;
  }
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  SelectObject(memory.get(), previous);
  GdiFlush();
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * 3 + 3) / 4) * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  std::ofstream out(path, std::ios::binary);
  Put<std::uint16_t>(out, 0x4D42);  // "BM"
  Put<std::uint32_t>(out, 14 + 40 + imageSize);
  Put<std::uint32_t>(out, 0);
  Put<std::uint32_t>(out, 14 + 40);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), imageSize);
  return static_cast<bool>(out);
}

COLORREF ScreenPixel(POINT point) {
  const ScreenDc screen;
  return GetPixel(screen.get(), point.x, point.y);
}

}  // namespace lumora::gui_tests
