#include "forms/images/images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

#include "forms/png_image.h"

namespace lumora::forms {
namespace {

std::uint32_t Little16(ImageData data, std::size_t at) {
  return data[at] | (data[at + 1] << 8);
}

std::uint32_t Little32(ImageData data, std::size_t at) {
  return Little16(data, at) | (Little16(data, at + 2) << 16);
}

std::uint32_t Big32(ImageData data, std::size_t at) {
  return (std::uint32_t{data[at]} << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) |
         data[at + 3];
}

// Checks an ICO file holding exactly one 32-bit image of the given size, and that its AND mask
// marks exactly the fully transparent pixels.
void ExpectSingleIcon(ImageData ico, int width, int height) {
  ASSERT_GE(ico.size(), 6u + 16u + 40u);
  EXPECT_EQ(Little16(ico, 0), 0u);  // reserved
  EXPECT_EQ(Little16(ico, 2), 1u);  // icon, not cursor
  ASSERT_EQ(Little16(ico, 4), 1u);  // one image
  // directory entry
  EXPECT_EQ(ico[6], width % 256);
  EXPECT_EQ(ico[7], height % 256);
  EXPECT_EQ(Little16(ico, 6 + 4), 1u);   // planes
  EXPECT_EQ(Little16(ico, 6 + 6), 32u);  // bits per pixel
  const std::uint32_t bytes = Little32(ico, 6 + 8);
  const std::uint32_t offset = Little32(ico, 6 + 12);
  ASSERT_EQ(offset, 22u);
  ASSERT_EQ(offset + bytes, ico.size());
  // BITMAPINFOHEADER: the height covers colour rows and mask rows
  EXPECT_EQ(Little32(ico, offset), 40u);
  EXPECT_EQ(Little32(ico, offset + 4), static_cast<std::uint32_t>(width));
  EXPECT_EQ(Little32(ico, offset + 8), static_cast<std::uint32_t>(height * 2));
  EXPECT_EQ(Little16(ico, offset + 12), 1u);
  EXPECT_EQ(Little16(ico, offset + 14), 32u);
  EXPECT_EQ(Little32(ico, offset + 16), 0u);  // uncompressed
  const std::size_t colourBytes = static_cast<std::size_t>(width) * height * 4;
  const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  ASSERT_EQ(bytes, 40u + colourBytes + maskStride * height);

  const std::size_t colour = offset + 40;
  const std::size_t mask = colour + colourBytes;
  int transparent = 0, opaque = 0;
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t alpha = ico[colour + (static_cast<std::size_t>(row) * width + x) * 4 + 3];
      const bool masked = (ico[mask + row * maskStride + x / 8] & (0x80 >> (x % 8))) != 0;
      EXPECT_EQ(masked, alpha == 0) << "row " << row << " column " << x;
      transparent += alpha == 0;
      opaque += alpha == 255;
    }
  }
  EXPECT_GT(transparent, 0);
  EXPECT_GT(opaque, width * height / 4);
}

struct PngHeader {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0;
};

PngHeader ReadPngHeader(ImageData png) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 33 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()) ||
      Big32(png, 8) != 13 || Big32(png, 12) != 0x49484452 /* IHDR */) {
    return {};
  }
  return {Big32(png, 16), Big32(png, 20), png[24], png[25]};
}

// Checks one image-list picture: RGBA PNG of the given size that decodes, with transparent
// corners and at least `minimumOpaque` opaque pixels of artwork.
void ExpectListPicture(ImageData png, int width, int height, int minimumOpaque) {
  const PngHeader header = ReadPngHeader(png);
  EXPECT_EQ(header.width, static_cast<std::uint32_t>(width));
  EXPECT_EQ(header.height, static_cast<std::uint32_t>(height));
  EXPECT_EQ(header.depth, 8);
  EXPECT_EQ(header.colourType, 6);
  const DecodedImage image = DecodePng(png);
  ASSERT_FALSE(image.Empty());
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  auto alpha = [&](int x, int y) { return image.rgba[(y * width + x) * 4 + 3]; };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(width - 1, 0), 0);
  EXPECT_EQ(alpha(0, height - 1), 0);
  EXPECT_EQ(alpha(width - 1, height - 1), 0);
  int opaque = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      opaque += alpha(x, y) == 255;
    }
  }
  EXPECT_GE(opaque, minimumOpaque);
}

TEST(ImagesTest, LoginIconIsOne48By32Image) {
  ExpectSingleIcon(images::LoginIcon(), 48, 32);
}

TEST(ImagesTest, MainIconIsOne64By64Image) {
  ExpectSingleIcon(images::MainIcon(), 64, 64);
}

TEST(ImagesTest, EditorAndSettingsIconsAre48By32WithSquarePictures) {
  ExpectSingleIcon(images::EditorIcon(), 48, 32);
  ExpectSingleIcon(images::SettingsIcon(), 48, 32);
  ExpectSingleIcon(images::EditorPicture(), 32, 32);
  ExpectSingleIcon(images::SettingsPicture(), 32, 32);
}

TEST(ImagesTest, LogoIs291By81Rgba) {
  const PngHeader header = ReadPngHeader(images::Logo());
  EXPECT_EQ(header.width, 291u);
  EXPECT_EQ(header.height, 81u);
  EXPECT_EQ(header.depth, 8);
  EXPECT_EQ(header.colourType, 6);
  const DecodedImage logo = DecodePng(images::Logo());
  ASSERT_EQ(logo.width, 291);
  ASSERT_EQ(logo.height, 81);
  // Transparent all round, so the window's face colour shows.
  for (int x = 0; x < logo.width; ++x) {
    EXPECT_EQ(logo.rgba[x * 4 + 3], 0) << "top row, column " << x;
  }
  for (int y = 0; y < logo.height; ++y) {
    EXPECT_EQ(logo.rgba[(y * logo.width) * 4 + 3], 0) << "left column, row " << y;
  }
}

TEST(ImagesTest, ToolbarHasEightDistinct48By29Pictures) {
  const auto pictures = images::ToolbarImages();
  ASSERT_EQ(pictures.size(), 8u);
  std::set<std::vector<std::uint8_t>> distinct;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectListPicture(pictures[i], 48, 29, 100);
    distinct.insert(DecodePng(pictures[i]).rgba);
  }
  EXPECT_EQ(distinct.size(), 8u);

  const ImageList list = images::ToolbarImageList();
  EXPECT_EQ(list.width, 48);
  EXPECT_EQ(list.height, 29);
  EXPECT_EQ(list.images.data(), pictures.data());
  EXPECT_EQ(list.images.size(), 8u);
}

TEST(ImagesTest, RowIconsAreFour12By12Pictures) {
  const auto icons = images::RowIcons();
  ASSERT_EQ(icons.size(), 4u);
  for (std::size_t i = 0; i < icons.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectListPicture(icons[i], 12, 12, 50);
  }
  const ImageList list = images::RowIconList();
  EXPECT_EQ(list.width, 12);
  EXPECT_EQ(list.height, 12);
  EXPECT_EQ(list.images.size(), 4u);
}

TEST(ImagesTest, RowIconColoursTellTheStatesApart) {
  auto centre = [](int index) {
    const DecodedImage image = DecodePng(images::RowIcons()[index]);
    const std::size_t at = (7u * 12u + 7u) * 4u;
    return std::vector<int>(image.rgba.begin() + at, image.rgba.begin() + at + 4);
  };
  const auto offline = centre(images::kRowOffline);
  const auto online = centre(images::kRowOnline);
  const auto checking = centre(images::kRowChecking);
  const auto fresh = centre(images::kRowNew);
  ASSERT_EQ(offline.size(), 4u);
  EXPECT_GT(offline[0], offline[1] + 64);    // red
  EXPECT_GT(online[1], online[0] + 64);      // green
  EXPECT_GT(checking[0], checking[2] + 64);  // yellow: red and green, little blue
  EXPECT_GT(checking[1], checking[2] + 64);
  EXPECT_GT(fresh[2], fresh[0] + 64);  // blue
}

}  // namespace
}  // namespace lumora::forms
