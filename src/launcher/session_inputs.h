// Gathering what one connection needs: the server's cells of the list row and the stored
// password of the server's record.
#pragma once

#include "base/text.h"
#include "launcher/session_file.h"
#include "services/record_set.h"

namespace lumora::launcher {

// The cells of a server-list row that a connection reads: 0 host, 1 port, 2 user, 7 domain.
struct ServerRowCells {
  Text host;
  Text port;
  Text user;
  Text domain;
  Text record_number;  // cell 8; empty when the row does not carry one
};

// Moves `records` to the row's own record, by its number when the row carries one, and takes
// its password from there; the record set is left standing on that record. Without a number the
// records named `row.host` are walked until one matches the name byte for byte (Jet ignores
// letter case): the password of "SRV" is never sent to "srv". No such record: the empty
// password.
SessionInputs GatherSessionInputs(services::RecordSet& records, const ServerRowCells& row);

}  // namespace lumora::launcher
