#include "launcher/screen_size.h"

#include <string>

namespace lumora::launcher {
namespace {

constexpr std::string_view kTimesSign = "×";

bool IsClientPixels(std::string_view piece) {
  if (piece.empty() || piece.size() > 4 || piece.find_first_not_of("0123456789") != piece.npos) {
    return false;
  }
  const int pixels = std::stoi(Text(piece));
  return pixels >= 200 && pixels <= 8192;
}

}  // namespace

std::vector<Text> SplitAtTimesSign(std::string_view text) {
  std::vector<Text> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t sign = FindOnCharBoundary(text, kTimesSign, start);
    if (sign == std::string_view::npos) {
      break;
    }
    pieces.emplace_back(text.substr(start, sign - start));
    start = sign + kTimesSign.size();
  }
  if (start < text.size()) {
    pieces.emplace_back(text.substr(start));
  }
  return pieces;
}

ScreenSize ScreenSizeFrom(std::string_view windowData) {
  std::vector<Text> pieces = SplitAtTimesSign(windowData);
  if (pieces.size() < 2 || !IsClientPixels(pieces[0]) || !IsClientPixels(pieces[1])) {
    return ScreenSize{kFallbackWidth, kFallbackHeight};
  }
  return ScreenSize{std::move(pieces[0]), std::move(pieces[1])};
}

}  // namespace lumora::launcher
