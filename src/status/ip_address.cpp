#include "status/ip_address.h"

#include <charconv>
#include <cmath>
#include <string>

#include "base/text.h"

namespace lumora::status {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The longest prefix of `text` (from `at`) that forms digits [. digits] [e [sign] digits],
// with at least one digit before the exponent; 0 when there is none.
std::size_t DecimalLength(std::string_view text, std::size_t at) {
  std::size_t i = at;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) {
    return 0;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        ++j;
      }
      i = j;
    }
  }
  return i - at;
}

}  // namespace

double LeadingNumber(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && IsBlank(piece[i])) {
    ++i;
  }
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
    negative = piece[i] == '-';
    ++i;
  }
  // Plain digits, the usual case, need no general conversion.
  std::size_t end = i;
  double value = 0;
  while (end < piece.size() && end - i < 15 && IsDigit(piece[end])) {
    value = value * 10 + (piece[end] - '0');
    ++end;
  }
  if (end == piece.size() ||
      (!IsDigit(piece[end]) && piece[end] != '.' && piece[end] != 'e' && piece[end] != 'E')) {
    return negative ? -value : value;
  }
  const std::size_t length = DecimalLength(piece, i);
  if (length == 0) {
    return 0;
  }
  const std::string_view number = piece.substr(i, length);
  value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to tell from zero, or too large to hold.
    const std::size_t e = number.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
    value = tiny ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

namespace {

// Four runs of 1 to 6 digits joined by single dots: the usual address text. The sum of such
// pieces stays far below 2^53, so integer arithmetic gives what double precision gives.
bool ParsePlainAddress(std::string_view text, std::int64_t& value) {
  std::int64_t total = 0;
  std::size_t i = 0;
  for (int piece = 0; piece < 4; ++piece) {
    if (piece > 0) {
      if (i == text.size() || text[i] != '.') {
        return false;
      }
      ++i;
    }
    std::int64_t number = 0;
    const std::size_t start = i;
    while (i < text.size() && i - start < 7 && IsDigit(text[i])) {
      number = number * 10 + (text[i] - '0');
      ++i;
    }
    if (i == start || i - start > 6) {
      return false;
    }
    total = total * 256 + number;
  }
  if (i != text.size()) {
    return false;
  }
  value = total;
  return true;
}

}  // namespace

std::int64_t ParseAddress(std::string_view text) {
  std::int64_t plain = 0;
  if (ParsePlainAddress(text, plain)) {
    return plain;
  }
  std::string_view pieces[4];
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    if (text[i] != '.') {
      continue;
    }
    if (count == 4) {
      return 0;
    }
    pieces[count++] = text.substr(start, i - start);
    start = i + 1;
  }
  if (start < text.size()) {
    if (count == 4) {
      return 0;
    }
    pieces[count++] = text.substr(start);
  }
  if (count != 4) {
    return 0;
  }
  const double value = LeadingNumber(pieces[0]) * 16777216.0 + LeadingNumber(pieces[1]) * 65536.0 +
                       LeadingNumber(pieces[2]) * 256.0 + LeadingNumber(pieces[3]);
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= 9223372036854775808.0) {
    return INT64_MAX;
  }
  if (value < -9223372036854775808.0) {
    return INT64_MIN;
  }
  return static_cast<std::int64_t>(value);
}

}  // namespace lumora::status
