#include "forms/win32/bitmap_image.h"

#include <algorithm>
#include <cstdint>

#include "forms/png_image.h"

namespace lumora::forms::win32 {
namespace {

UniqueBitmap CreateTopDownDib(int width, int height, std::uint8_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  *bits = static_cast<std::uint8_t*>(pixels);
  return bitmap;
}

// Copies `image` centred into a width x height BGRA buffer (already zeroed: transparent).
void CopyPremultiplied(const DecodedImage& image, int width, int height, std::uint8_t* bits) {
  const int offsetX = (width - image.width) / 2;
  const int offsetY = (height - image.height) / 2;
  const int firstX = std::max(0, -offsetX);
  const int lastX = std::min(image.width, width - offsetX);
  const int firstY = std::max(0, -offsetY);
  const int lastY = std::min(image.height, height - offsetY);
  for (int y = firstY; y < lastY; ++y) {
    const std::uint8_t* source =
        image.rgba.data() + (static_cast<std::size_t>(y) * image.width) * 4;
    std::uint8_t* target = bits + (static_cast<std::size_t>(y + offsetY) * width) * 4;
    for (int x = firstX; x < lastX; ++x) {
      const std::uint8_t* in = source + static_cast<std::size_t>(x) * 4;
      std::uint8_t* out = target + static_cast<std::size_t>(x + offsetX) * 4;
      const unsigned alpha = in[3];
      out[0] = static_cast<std::uint8_t>((in[2] * alpha + 127) / 255);
      out[1] = static_cast<std::uint8_t>((in[1] * alpha + 127) / 255);
      out[2] = static_cast<std::uint8_t>((in[0] * alpha + 127) / 255);
      out[3] = static_cast<std::uint8_t>(alpha);
    }
  }
}

Bitmap32 MakeBitmap(const DecodedImage& image, int width, int height) {
  Bitmap32 result;
  std::uint8_t* bits = nullptr;
  result.bitmap = CreateTopDownDib(width, height, &bits);
  if (!result.bitmap || bits == nullptr) {
    return {};
  }
  std::fill_n(bits, static_cast<std::size_t>(width) * height * 4, std::uint8_t{0});
  if (!image.Empty()) {
    CopyPremultiplied(image, width, height, bits);
  }
  GdiFlush();
  result.width = width;
  result.height = height;
  return result;
}

}  // namespace

Bitmap32 BitmapFromPng(ImageData png, int width, int height) {
  const DecodedImage image = DecodePng(png);
  if (image.Empty()) {
    return {};
  }
  if (width <= 0 || height <= 0) {
    width = image.width;
    height = image.height;
  }
  return MakeBitmap(image, width, height);
}

UniqueImageList CreateImageList(const ImageList& images) {
  if (images.width <= 0 || images.height <= 0 || images.images.empty()) {
    return {};
  }
  const int count = static_cast<int>(images.images.size());
  UniqueImageList list(ImageList_Create(images.width, images.height, ILC_COLOR32, count, 0));
  if (!list) {
    return {};
  }
  for (const ImageData& data : images.images) {
    Bitmap32 picture = MakeBitmap(DecodePng(data), images.width, images.height);
    // One image missing would shift every later one onto the wrong rows: then none at all.
    if (ImageList_Add(list.get(), picture.bitmap.get(), nullptr) == -1) {
      return {};
    }
  }
  return list;
}

}  // namespace lumora::forms::win32
