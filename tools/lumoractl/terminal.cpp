#include "terminal.h"

#include <cstdint>

#include "platform/code_page.h"

namespace lumora::ctl {
namespace {

Encoding terminalEncoding = Encoding::kUtf8;
std::optional<Encoding> chosenEncoding;

// UTF-8 to UTF-16; nullopt for a malformed sequence, an overlong form or a surrogate.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t index = 0; index < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[index]);
    std::size_t length = 1;
    char32_t code = lead;
    char32_t minimum = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, minimum = 0x10000;
    } else if (lead >= 0xE0) {
      length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0x80) {
      return std::nullopt;
    }
    if (lead >= 0xF5 || index + length > bytes.size()) {
      return std::nullopt;
    }
    for (std::size_t next = 1; next < length; ++next) {
      const auto trail = static_cast<unsigned char>(bytes[index + next]);
      if ((trail & 0xC0) != 0x80) {
        return std::nullopt;
      }
      code = code << 6 | (trail & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return std::nullopt;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    index += length;
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char16_t unit : text) {
    // GBK holds no character beyond the basic plane, so no surrogate pair comes from it.
    const auto code = static_cast<std::uint32_t>(unit);
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | code >> 6));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | code >> 12));
      out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace

std::optional<Encoding> ParseEncoding(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  if (lower == "utf-8" || lower == "utf8") {
    return Encoding::kUtf8;
  }
  if (lower == "gbk") {
    return Encoding::kGbk;
  }
  return std::nullopt;
}

void SetTerminalEncoding(Encoding encoding) {
  terminalEncoding = encoding;
}

void ChooseEncoding(Encoding encoding) {
  chosenEncoding = encoding;
  terminalEncoding = encoding;
}

std::optional<Encoding> ChosenEncoding() {
  return chosenEncoding;
}

Encoding TerminalEncoding() {
  return terminalEncoding;
}

bool IsUtf8(std::string_view bytes) {
  return DecodeUtf8(bytes).has_value();
}

std::optional<Text> ToGbk(std::string_view bytes, Encoding from) {
  std::u16string wide;
  if (from == Encoding::kGbk) {
    // Bytes that are no GBK character come back as '?', which the text did not hold.
    if (platform::WideToGbk(platform::GbkToWide(bytes)) != bytes) {
      return std::nullopt;
    }
    return Text(bytes);
  }
  if (std::optional<std::u16string> decoded = DecodeUtf8(bytes)) {
    wide = std::move(*decoded);
  } else {
    return std::nullopt;
  }
  Text gbk = platform::WideToGbk(wide);
  // A character that GBK cannot hold, or bytes that were no GBK text, would not come back.
  if (platform::GbkToWide(gbk) != wide) {
    return std::nullopt;
  }
  return gbk;
}

std::string FromGbk(std::string_view text, Encoding to) {
  if (to == Encoding::kGbk) {
    return std::string(text);
  }
  return EncodeUtf8(platform::GbkToWide(text));
}

std::optional<Text> InputText(std::string_view line) {
  return ToGbk(line, terminalEncoding);
}

void PrintError(std::string_view message) {
  PrintText(stderr, "lumoractl: " + std::string(message));
}

}  // namespace lumora::ctl
