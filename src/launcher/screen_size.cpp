#include "launcher/screen_size.h"

namespace lumora::launcher {
namespace {

constexpr std::string_view kTimesSign = "×";

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
  if (pieces.size() < 2) {
    return ScreenSize{kFallbackWidth, kFallbackHeight};
  }
  return ScreenSize{std::move(pieces[0]), std::move(pieces[1])};
}

}  // namespace lumora::launcher
