// The session file handed to the remote-desktop client for one connection: the template filled
// with the server's values and the session options of section "RDP" of config.ini.
#pragma once

#include <string_view>

#include "base/text.h"
#include "settings/settings_store.h"

namespace lumora::launcher {

// What the main window gathers for one connection from the current row of the server list and
// the server's record.
struct SessionInputs {
  Text host;      // cell 0
  Text port;      // cell 1
  Text user;      // cell 2
  Text password;  // field "密码" of the server's record; empty when it cannot be read
  Text domain;    // cell 7
};

// The server's values as the template takes them.
struct ServerValues {
  Text host;
  Text port;
  Text user;
  Text passwordBlob;  // MakePasswordBlob of the stored password
  Text domain;
};

struct SessionFile {
  Text path;        // where the file goes
  Text content;     // GBK bytes, CR LF between lines, none after the last, no terminating zero
  Text modeSwitch;  // follows the path on the client's command line
};

// The template filled placeholder by placeholder, in the fixed order, each step over the whole
// text so far: a value that holds a later placeholder gets that one replaced too. CR and LF are
// removed from every value first, so no value can add lines of its own; the rest of a value goes
// in unchanged.
Text SessionFileContent(const ServerValues& server, const settings::ConnectionSettings& settings);

// ProgramDirectory() + "\History\" + HistoryFileStem(host) + ".rdp".
Text SessionFilePath(std::string_view host);

// The History folder: ProgramDirectory() + "\History".
Text HistoryFolder();

// Builds the file for one connection: protects the password, reads the session options afresh
// from config.ini (nothing is kept from an earlier connection but the mode switch) and moves the
// process-wide mode switch on (CurrentModeSwitch).
SessionFile BuildSessionFile(const SessionInputs& inputs);

}  // namespace lumora::launcher
