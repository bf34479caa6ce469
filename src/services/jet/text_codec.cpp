#include "services/jet/text_codec.h"

namespace lumora::jet {
namespace {

void AppendUtf16(ByteView bytes, std::u16string& out) {
  for (std::size_t index = 0; index + 1 < bytes.size(); index += 2) {
    out.push_back(static_cast<char16_t>(U16(bytes, index)));
  }
}

}  // namespace

std::u16string DecodeJetText(ByteView bytes) {
  std::u16string text;
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    AppendUtf16(bytes, text);
    return text;
  }
  bool compressed = true;
  std::size_t segment = 2;
  for (std::size_t index = 2; index <= bytes.size(); ++index) {
    if (index < bytes.size() && bytes[index] != 0x00) {
      continue;
    }
    const ByteView part = bytes.subspan(segment, index - segment);
    if (compressed) {
      for (const std::uint8_t byte : part) {
        text.push_back(static_cast<char16_t>(byte));
      }
    } else {
      AppendUtf16(part, text);
    }
    compressed = !compressed;
    segment = index + 1;
  }
  return text;
}

}  // namespace lumora::jet
