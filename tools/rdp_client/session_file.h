// The session file the program writes for each connection: GBK text, one "name:type:value"
// setting per line, CR LF between lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "secret.h"

namespace rdp_client {

struct SessionSettings {
  std::wstring address;  // "HOST:PORT" as the file spells it
  std::wstring user;
  std::wstring domain;
  std::wstring width;   // desktopwidth, digits only or empty
  std::wstring height;  // desktopheight, digits only or empty
  std::wstring colourDepth;
  bool fullScreen = false;           // screen mode id 2
  bool clipboard = false;            // redirectclipboard 1
  int audioMode = 2;                 // audiomode: 0 here, 1 on the remote computer, 2 none
  bool recording = false;            // audiocapturemode 1: this computer's microphone
  bool compression = true;           // compression 1
  int keyboardHook = 2;              // keyboardhook: 0 here, 1 remote, 2 remote in full screen
  bool connectionBar = true;         // displayconnectionbar 1
  bool wallpaper = true;             // disable wallpaper 0
  bool themes = true;                // disable themes 0
  bool autoReconnect = false;        // autoreconnection enabled 1
  bool printers = false;             // redirectprinters 1
  bool smartCards = false;           // redirectsmartcards 1
  bool serialPorts = false;          // redirectcomports 1
  std::vector<std::wstring> drives;  // drivestoredirect, e.g. "C:" and "D:\"
  std::vector<std::uint8_t> passwordBlob;  // the protected password, empty when none
};

// The settings from the file's text. Returns nothing when it has no "full address".
std::optional<SessionSettings> ParseSessionText(std::string_view gbk);

// Reads and parses the file at `path` (a Windows path); nothing when it cannot be read.
std::optional<SessionSettings> ReadSessionFile(const std::wstring& path);

// The hexadecimal spelling of "password 51:b:". The program adds one digit after the last pair,
// so an odd digit at the end is not part of the blob. Nothing when a digit is not hexadecimal.
std::optional<std::vector<std::uint8_t>> DecodeHexBlob(std::string_view spelt);

// The password the blob protects for the current user, as UTF-8; nothing when it cannot be
// recovered (another user's or another computer's blob, or no blob).
std::optional<Secret> RecoverPassword(const std::vector<std::uint8_t>& blob);

}  // namespace rdp_client
