#include "forms/win32/icon_image.h"

#include <cstdint>
#include <optional>

namespace lumora::forms::win32 {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
// The format version CreateIconFromResourceEx expects.
constexpr DWORD kIconFormatVersion = 0x00030000;

struct IconEntry {
  int width = 0, height = 0;
  std::uint32_t size = 0, offset = 0;
};

std::uint16_t Read16(ImageData data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

std::uint32_t Read32(ImageData data, std::size_t at) {
  return static_cast<std::uint32_t>(Read16(data, at)) |
         (static_cast<std::uint32_t>(Read16(data, at + 2)) << 16);
}

std::optional<IconEntry> ReadEntry(ImageData data, int index) {
  const std::size_t at = kDirectorySize + static_cast<std::size_t>(index) * kEntrySize;
  if (at + kEntrySize > data.size()) {
    return std::nullopt;
  }
  IconEntry entry;
  entry.width = data[at] == 0 ? 256 : data[at];
  entry.height = data[at + 1] == 0 ? 256 : data[at + 1];
  entry.size = Read32(data, at + 8);
  entry.offset = Read32(data, at + 12);
  if (entry.size == 0 || entry.offset > data.size() || entry.size > data.size() - entry.offset) {
    return std::nullopt;
  }
  return entry;
}

bool Better(const IconEntry& candidate, const IconEntry& best, int width, int height) {
  const long long candidateArea = 1LL * candidate.width * candidate.height;
  const long long bestArea = 1LL * best.width * best.height;
  if (width <= 0 || height <= 0) {
    return candidateArea > bestArea;
  }
  const bool candidateFits = candidate.width >= width && candidate.height >= height;
  const bool bestFits = best.width >= width && best.height >= height;
  if (candidateFits != bestFits) {
    return candidateFits;
  }
  return candidateFits ? candidateArea < bestArea : candidateArea > bestArea;
}

}  // namespace

bool IsIcoData(ImageData data) {
  return data.size() >= kDirectorySize && Read16(data, 0) == 0 && Read16(data, 2) == 1 &&
         Read16(data, 4) > 0;
}

IconImage IconFromIco(ImageData data, int width, int height) {
  if (!IsIcoData(data)) {
    return {};
  }
  std::optional<IconEntry> best;
  const int count = Read16(data, 4);
  for (int index = 0; index < count; ++index) {
    const std::optional<IconEntry> entry = ReadEntry(data, index);
    if (entry && (!best || Better(*entry, *best, width, height))) {
      best = entry;
    }
  }
  if (!best) {
    return {};
  }
  const int targetWidth = width > 0 ? width : best->width;
  const int targetHeight = height > 0 ? height : best->height;
  // The function takes a non-const pointer but only reads the image.
  auto* bits = const_cast<BYTE*>(data.data() + best->offset);
  IconImage result;
  result.icon.reset(CreateIconFromResourceEx(bits, best->size, TRUE, kIconFormatVersion,
                                             targetWidth, targetHeight, LR_DEFAULTCOLOR));
  if (!result.icon) {
    return {};
  }
  result.width = targetWidth;
  result.height = targetHeight;
  return result;
}

}  // namespace lumora::forms::win32
