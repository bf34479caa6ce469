// The session's screen size, taken from the settings text "窗口数据" ("1024×768").
#pragma once

#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumora::launcher {

struct ScreenSize {
  Text width;
  Text height;

  bool operator==(const ScreenSize&) const = default;
};

// Used when the text does not name a size the client can take.
inline constexpr char kFallbackWidth[] = "800";
inline constexpr char kFallbackHeight[] = "600";

// The pieces of `text` split at every "×" that stands as a whole GBK character: the text before
// each "×", in order and kept when empty, then the text after the last "×" when it is not empty.
// A text without "×" is one piece; the empty text gives none.
std::vector<Text> SplitAtTimesSign(std::string_view text);

// Width and height are the first two pieces; further pieces are ignored. Fewer than two pieces,
// or a piece that is no number of pixels from 200 to 8192 (what the client takes), give 800 by
// 600.
ScreenSize ScreenSizeFrom(std::string_view windowData);

}  // namespace lumora::launcher
