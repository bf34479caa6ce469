#include "launcher/password_blob.h"

#include <algorithm>
#include <string>

#include "platform/code_page.h"
#include "platform/data_protection.h"

namespace lumora::launcher {

Bytes PasswordBlock(const Text& password) {
  // The stored password is a zero-terminated text: nothing after a zero byte belongs to it.
  const std::string_view text(password.c_str());
  std::u16string wide = platform::GbkToWide(text);
  wide.push_back(u'\0');
  Bytes block(kPasswordBlockBytes, 0);
  const std::size_t units = std::min(wide.size(), kPasswordBlockBytes / 2);
  for (std::size_t i = 0; i < units; ++i) {
    block[2 * i] = static_cast<std::uint8_t>(wide[i] & 0xFF);
    block[2 * i + 1] = static_cast<std::uint8_t>(wide[i] >> 8);
  }
  return block;
}

Text SpellPasswordBlob(std::span<const std::uint8_t> blob) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Text spelt;
  spelt.reserve(blob.size() * 2 + 1);
  for (const std::uint8_t byte : blob) {
    spelt.push_back(kDigits[byte >> 4]);
    spelt.push_back(kDigits[byte & 0x0F]);
  }
  spelt.push_back('0');
  return spelt;
}

Text MakePasswordBlob(const Text& password, const DataProtector& protect) {
  const Bytes block = PasswordBlock(password);
  const Bytes blob = protect(block, kPasswordDescription);
  return SpellPasswordBlob(blob);
}

Text MakePasswordBlob(const Text& password) {
  return MakePasswordBlob(password, &platform::ProtectForCurrentUser);
}

}  // namespace lumora::launcher
