#include "forms/png_image.h"

#include <png.h>

namespace lumora::forms {
namespace {

// Far beyond any picture the program carries; keeps a forged header from asking for gigabytes.
constexpr png_uint_32 kMaxSide = 8192;

// png_image owns libpng's read state until finished or freed.
class PngReader {
 public:
  PngReader() { image_.version = PNG_IMAGE_VERSION; }
  ~PngReader() { png_image_free(&image_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_image& Image() { return image_; }

 private:
  png_image image_{};
};

}  // namespace

DecodedImage DecodePng(ImageData png) {
  if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) {
    return {};
  }
  PngReader reader;
  png_image& image = reader.Image();
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    return {};
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    return {};
  }
  image.format = PNG_FORMAT_RGBA;
  DecodedImage decoded;
  decoded.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.rgba.data(), 0, nullptr)) {
    return {};
  }
  decoded.width = static_cast<int>(image.width);
  decoded.height = static_cast<int>(image.height);
  return decoded;
}

}  // namespace lumora::forms
