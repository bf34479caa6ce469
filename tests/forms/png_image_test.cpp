#include "forms/png_image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "forms/images/images.h"

namespace lumora::forms {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& payload) {
  PutBigEndian(out, static_cast<std::uint32_t>(payload.size()));
  Bytes body(type.begin(), type.end());
  body.insert(body.end(), payload.begin(), payload.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, static_cast<std::uint32_t>(crc32(0, body.data(), body.size())));
}

// A PNG with the given header whose scanlines (filter byte included) are `raw`.
Bytes MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
              std::uint8_t colourType, const Bytes& raw) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.insert(header.end(), {depth, colourType, 0, 0, 0});
  PutChunk(png, "IHDR", header);
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(packedSize);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

Bytes LogoBytes() {
  const ImageData logo = images::Logo();
  return Bytes(logo.begin(), logo.end());
}

TEST(PngImageTest, DecodesTheLogo) {
  const DecodedImage image = DecodePng(images::Logo());
  ASSERT_FALSE(image.Empty());
  EXPECT_EQ(image.width, 291);
  EXPECT_EQ(image.height, 81);
  ASSERT_EQ(image.rgba.size(), 291u * 81u * 4u);
  EXPECT_EQ(image.rgba[3], 0) << "the top left corner is transparent";
  // The middle of the monitor's screen at the left is opaque.
  const std::size_t screen = (30u * 291u + 40u) * 4u;
  EXPECT_EQ(image.rgba[screen + 3], 255);
}

TEST(PngImageTest, ConvertsGreyToRgba) {
  // 2 x 1, 8-bit grey: one scanline, filter 0, two samples.
  const DecodedImage image = DecodePng(MakePng(2, 1, 8, 0, {0, 0x80, 0xFF}));
  ASSERT_FALSE(image.Empty());
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.rgba, (Bytes{0x80, 0x80, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PngImageTest, KeepsStraightAlpha) {
  // 1 x 1 RGBA, half transparent red: the colour must not come back premultiplied.
  const DecodedImage image = DecodePng(MakePng(1, 1, 8, 6, {0, 0xFF, 0, 0, 0x80}));
  ASSERT_FALSE(image.Empty());
  EXPECT_EQ(image.rgba, (Bytes{0xFF, 0, 0, 0x80}));
}

TEST(PngImageTest, EmptyInputGivesEmptyImage) {
  EXPECT_TRUE(DecodePng({}).Empty());
  const Bytes signatureOnly = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(DecodePng(signatureOnly).Empty());
}

TEST(PngImageTest, GarbageGivesEmptyImage) {
  Bytes garbage(4096);
  for (std::size_t i = 0; i < garbage.size(); ++i) {
    garbage[i] = static_cast<std::uint8_t>(i * 131 + 7);
  }
  EXPECT_TRUE(DecodePng(garbage).Empty());
  // A valid signature followed by garbage.
  const Bytes logo = LogoBytes();
  std::copy(logo.begin(), logo.begin() + 8, garbage.begin());
  EXPECT_TRUE(DecodePng(garbage).Empty());
}

TEST(PngImageTest, TruncatedDataGivesEmptyImage) {
  const Bytes logo = LogoBytes();
  for (std::size_t length :
       {std::size_t{12}, std::size_t{33}, std::size_t{100}, logo.size() / 2, logo.size() - 20}) {
    const Bytes cut(logo.begin(), logo.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_TRUE(DecodePng(cut).Empty()) << "cut to " << length << " bytes";
  }
}

TEST(PngImageTest, DamagedImageDataGivesEmptyImage) {
  Bytes logo = LogoBytes();
  logo[logo.size() / 2] ^= 0x5A;  // inside the image data; its checksum no longer matches
  EXPECT_TRUE(DecodePng(logo).Empty());
}

TEST(PngImageTest, RefusesHugeDimensions) {
  // The header claims 100000 x 100000; decoding must not try to allocate that.
  EXPECT_TRUE(DecodePng(MakePng(100000, 100000, 8, 6, {0, 1, 2, 3, 4})).Empty());
}

}  // namespace
}  // namespace lumora::forms
