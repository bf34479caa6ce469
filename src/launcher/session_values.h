// What the remote-desktop client reads from each session-file line that a stored setting fills.
// config.ini keeps what the settings window stores (stored files rely on it); where a stored
// value means something else to the client ("0" for full screen, colour depth "31") or nothing at
// all (an empty or hand-edited value), the line gets the value the client takes for what the user
// chose.
#pragma once

#include <span>
#include <string_view>

#include "base/text.h"

namespace lumora::launcher {

// One stored value and its spelling in the session file.
struct Spelling {
  std::string_view stored;
  std::string_view written;
};

// The values one line takes from the setting `key`: each stored value the line can carry, and
// what any other stored value (empty, unknown, edited by hand) is written as.
struct LineValues {
  std::string_view key;
  std::span<const Spelling> spellings;
  std::string_view otherwise;
};

// Every setting whose line is mapped; the drive list and the window size have rules of their own.
std::span<const LineValues> SessionLineValues();

// The session file's value for the stored `value` of `key`; a key not in the table keeps its
// value as stored.
Text SessionValue(std::string_view key, std::string_view value);

// "drivestoredirect" from the stored drive list ("C:;D:;"): each drive as a letter, ":" and ";"
// (or ":\;"). An entry that names no drive is left out.
Text SessionDriveList(std::string_view stored);

}  // namespace lumora::launcher
