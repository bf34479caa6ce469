// PNG decoding for images compiled into the program (logo, toolbar and list pictures).
#pragma once

#include <cstdint>
#include <vector>

#include "forms/window_definition.h"

namespace lumora::forms {

// Straight (not premultiplied) 8-bit RGBA, rows top to bottom, 4 * width bytes a row.
struct DecodedImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;

  bool Empty() const { return width <= 0 || height <= 0 || rgba.empty(); }
};

// Decodes PNG file bytes of any colour type and depth to RGBA; empty when the data is not a
// complete, valid PNG or the picture is unreasonably large.
DecodedImage DecodePng(ImageData png);

}  // namespace lumora::forms
