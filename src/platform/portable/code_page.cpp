#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace lumora::platform {
namespace {

// One conversion descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) {
      ::iconv_close(handle_);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv_open reports failure as (iconv_t)-1, a pointer made from an integer by definition.
  bool valid() const {
    return handle_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // Converts one unit of `length` bytes at `input`, appending to `out`; false when it has no
  // spelling in the target.
  bool ConvertUnit(const char* input, std::size_t length, std::string& out) {
    char buffer[16];
    char* in = const_cast<char*>(input);
    std::size_t in_left = length;
    char* out_pointer = buffer;
    std::size_t out_left = sizeof buffer;
    ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (::iconv(handle_, &in, &in_left, &out_pointer, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0) {
      return false;
    }
    out.append(buffer, static_cast<std::size_t>(out_pointer - buffer));
    return true;
  }

 private:
  iconv_t handle_;
};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Code page 936 is a fixed mapping: it is read from iconv once per process into two tables, so a
// conversion costs a table look-up per character instead of an iconv call.
struct CodePageTables {
  // UTF-16 unit -> GBK bytes (one byte in the low half when the high half is 0); 0: no spelling.
  std::vector<std::uint16_t> toGbk = std::vector<std::uint16_t>(0x10000, 0);
  // (first byte << 8 | second byte), or the single byte 0x80 -> UTF-16; 0: not a character.
  std::vector<char16_t> toWide = std::vector<char16_t>(0x10000, 0);
  bool valid = false;
};

const CodePageTables& Tables() {
  static const CodePageTables tables = [] {
    CodePageTables built;
    Converter toWide("UTF-16LE", "CP936");
    Converter toGbk("CP936", "UTF-16LE");
    if (!toWide.valid() || !toGbk.valid()) {
      return built;
    }
    std::string converted;
    auto learnBytes = [&](const char* bytes, std::size_t length, std::uint16_t key) {
      converted.clear();
      if (toWide.ConvertUnit(bytes, length, converted) && converted.size() == 2) {
        built.toWide[key] = static_cast<char16_t>(static_cast<unsigned char>(converted[0]) |
                                                  (static_cast<unsigned char>(converted[1]) << 8));
      }
    };
    const char euro = static_cast<char>(0x80);
    learnBytes(&euro, 1, 0x80);
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        learnBytes(bytes, 2, static_cast<std::uint16_t>(lead << 8 | trail));
      }
    }
    for (unsigned unit = 0x80; unit <= 0xFFFF; ++unit) {
      if (IsHighSurrogate(static_cast<char16_t>(unit)) ||
          IsLowSurrogate(static_cast<char16_t>(unit))) {
        continue;
      }
      const char wide[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
      converted.clear();
      if (toGbk.ConvertUnit(wide, 2, converted) && !converted.empty() && converted.size() <= 2) {
        const auto first = static_cast<unsigned char>(converted[0]);
        built.toGbk[unit] =
            converted.size() == 1
                ? first
                : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(converted[1]));
      }
    }
    built.valid = true;
    return built;
  }();
  return tables;
}

}  // namespace

Text WideToGbk(std::u16string_view text) {
  const CodePageTables& tables = Tables();
  Text out;
  if (!tables.valid) {
    return out;
  }
  out.reserve(text.size() * 2);
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char16_t c = text[index];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (IsHighSurrogate(c) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
      ++index;  // a character beyond the basic plane: GBK has no spelling for any of them
      out.push_back('?');
      continue;
    }
    const std::uint16_t bytes = tables.toGbk[c];
    if (bytes == 0) {
      out.push_back('?');
    } else if (bytes < 0x100) {
      out.push_back(static_cast<char>(bytes));
    } else {
      out.push_back(static_cast<char>(bytes >> 8));
      out.push_back(static_cast<char>(bytes & 0xFF));
    }
  }
  return out;
}

std::u16string GbkToWide(std::string_view text) {
  const CodePageTables& tables = Tables();
  std::u16string out;
  if (!tables.valid) {
    return out;
  }
  out.reserve(text.size());
  for (std::size_t index = 0; index < text.size();) {
    const auto byte = static_cast<unsigned char>(text[index]);
    if (byte < 0x80) {
      out.push_back(static_cast<char16_t>(byte));
      ++index;
      continue;
    }
    // A lead byte takes the next byte; CP936 also spells the euro sign as the single byte 0x80.
    std::uint16_t key = byte;
    std::size_t length = 1;
    if (IsGbkLeadByte(byte) && index + 1 < text.size()) {
      key = static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(text[index + 1]));
      length = 2;
    }
    const char16_t unit = tables.toWide[key];
    out.push_back(unit == 0 ? u'?' : unit);
    index += length;
  }
  return out;
}

}  // namespace lumora::platform
