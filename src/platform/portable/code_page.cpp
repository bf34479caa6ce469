#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>

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

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

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

}  // namespace

Text WideToGbk(std::u16string_view text) {
  Converter converter("CP936", "UTF-16LE");
  Text out;
  if (!converter.valid()) {
    return out;
  }
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char16_t c = text[index];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    std::size_t units = 1;
    if (IsHighSurrogate(c) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
      units = 2;
    }
    char bytes[4];
    for (std::size_t unit = 0; unit < units; ++unit) {
      bytes[unit * 2] = static_cast<char>(text[index + unit] & 0xFF);
      bytes[unit * 2 + 1] = static_cast<char>(text[index + unit] >> 8);
    }
    if (!converter.ConvertUnit(bytes, units * 2, out)) {
      out.push_back('?');
    }
    index += units - 1;
  }
  return out;
}

std::u16string GbkToWide(std::string_view text) {
  Converter converter("UTF-16LE", "CP936");
  std::u16string out;
  if (!converter.valid()) {
    return out;
  }
  std::string wide;
  for (std::size_t index = 0; index < text.size();) {
    const auto byte = static_cast<unsigned char>(text[index]);
    if (byte < 0x80) {
      out.push_back(static_cast<char16_t>(byte));
      ++index;
      continue;
    }
    // A lead byte takes the next byte; CP936 also spells the euro sign as the single byte 0x80.
    const std::size_t length = IsGbkLeadByte(byte) && index + 1 < text.size() ? 2 : 1;
    wide.clear();
    if (converter.ConvertUnit(text.data() + index, length, wide) && wide.size() >= 2) {
      for (std::size_t unit = 0; unit + 1 < wide.size(); unit += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(wide[unit]) |
                                            (static_cast<unsigned char>(wide[unit + 1]) << 8)));
      }
    } else {
      out.push_back(u'?');
    }
    index += length;
  }
  return out;
}

}  // namespace lumora::platform
