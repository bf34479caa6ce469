// lumoractl password ...: the start-up password as config.ini stores and the program reads it.
#include <cstdio>
#include <iostream>
#include <string>

#include "command.h"
#include "platform/program_directory.h"
#include "services/cipher.h"
#include "services/startup_password.h"
#include "settings/startup_password_setting.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

bool TakeHexFlag(Arguments& args) {
  if (!args.empty() && args.back() == "--hex") {
    args = args.first(args.size() - 1);
    return true;
  }
  return false;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

bool FromHex(std::string_view hex, std::string& bytes) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) {
    return false;
  }
  bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

int Encrypt(Arguments args) {
  const bool hex = TakeHexFlag(args);
  if (args.size() != 1) {
    return UsageError("password encrypt takes one TEXT");
  }
  const std::optional<Text> password = ArgumentText(args[0]);
  if (!password) {
    return UsageError(kNotATextMessage);
  }
  const Text stored = services::EncipherPassword(*password);
  PrintText(stdout, hex ? ToHex(stored) : stored);
  return kOk;
}

int Decrypt(Arguments args) {
  const bool hex = TakeHexFlag(args);
  if (args.size() != 1) {
    return UsageError("password decrypt takes one VALUE");
  }
  Text value(args[0]);
  if (hex && !FromHex(args[0], value)) {
    return UsageError("VALUE is not hexadecimal");
  }
  const Text password = services::DecipherStoredValue(value);
  if (password.empty() && !value.empty()) {
    PrintError("the value does not decipher to a password");
    return kFailed;
  }
  PrintText(stdout, password);
  return kOk;
}

int Status(Arguments args) {
  if (args.size() != 1) {
    return UsageError("password status takes one DIR");
  }
  SetProgramDirectory(Text(args[0]));
  const services::StoredPassword stored = services::ReadStoredPassword();
  if (!stored.IsSet()) {
    PrintText(stdout, "not set");
  } else if (stored.password.empty()) {
    PrintText(stdout, "set (the stored value does not decipher: only an empty entry is admitted)");
  } else {
    PrintText(stdout, "set");
  }
  return kOk;
}

// One line of standard input without its line end; false at the end of the input.
bool ReadLine(std::string& line) {
  if (!std::getline(std::cin, line)) {
    return false;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return true;
}

int Set(Arguments args) {
  if (args.size() != 1) {
    return UsageError("password set takes one DIR");
  }
  std::string first;
  std::string second;
  if (!ReadLine(first) || !ReadLine(second)) {
    PrintError("give the password on two lines of standard input");
    return kFailed;
  }
  const std::optional<Text> firstText = InputText(first);
  const std::optional<Text> secondText = InputText(second);
  if (!firstText || !secondText) {
    PrintError(kNotATextMessage);
    return kBadUsage;
  }
  SetProgramDirectory(Text(args[0]));
  switch (settings::StoreStartupPassword(*firstText, *secondText)) {
    case settings::PasswordStoreOutcome::kStored:
      PrintText(stdout, "start-up password set");
      return kOk;
    case settings::PasswordStoreOutcome::kEmpty:
      PrintError("the password is empty (blanks do not count)");
      break;
    case settings::PasswordStoreOutcome::kMismatch:
      PrintError("the two passwords differ");
      break;
    case settings::PasswordStoreOutcome::kNotWritten:
      PrintError("config.ini cannot be written; nothing changed");
      break;
    case settings::PasswordStoreOutcome::kCannotReadBack:
      PrintError(
          "config.ini cannot carry this password's stored value; the previous "
          "value is kept, choose another password");
      break;
    case settings::PasswordStoreOutcome::kRestoreFailed:
      PrintError(
          "config.ini cannot carry this password's stored value, and the "
          "previous value could not be put back; choose another password");
      break;
  }
  return kFailed;
}

// The login window's check: exit 0 when it would admit the password on standard input.
int Check(Arguments args) {
  if (args.size() != 1) {
    return UsageError("password check takes one DIR");
  }
  std::string typed;
  if (!ReadLine(typed)) {
    PrintError("give the password on one line of standard input");
    return kBadUsage;
  }
  SetProgramDirectory(Text(args[0]));
  if (!services::ReadStoredPassword().IsSet()) {
    PrintText(stdout, "no start-up password is set: the start button admits everyone");
    return kOk;
  }
  const std::optional<Text> typedText = InputText(typed);
  if (!typedText) {
    PrintError(kNotATextMessage);
    return kBadUsage;
  }
  if (!services::AdmitsPassword(*typedText)) {
    PrintError("the login window refuses this password");
    return kFailed;
  }
  PrintText(stdout, "the login window admits this password");
  return kOk;
}

int Clear(Arguments args) {
  if (args.size() != 1) {
    return UsageError("password clear takes one DIR");
  }
  SetProgramDirectory(Text(args[0]));
  if (!settings::ClearStartupPassword()) {
    PrintError("config.ini cannot be written; the password stays set");
    return kFailed;
  }
  PrintText(stdout, "start-up password cleared");
  return kOk;
}

constexpr Command kCommands[] = {
    {"encrypt", "TEXT [--hex]", "the value config.ini would store for TEXT", Encrypt},
    {"decrypt", "VALUE [--hex]", "the password a stored VALUE reads as", Decrypt},
    {"status", "DIR", "whether DIR\\config.ini sets a start-up password", Status},
    {"set", "DIR", "sets the password read twice from standard input, as the settings window does",
     Set},
    {"check", "DIR",
     "exit 0 when the login window admits the password read from standard input, 1 when not",
     Check},
    {"clear", "DIR", "turns the start-up password of DIR\\config.ini off", Clear},
};

}  // namespace

std::span<const Command> PasswordCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
