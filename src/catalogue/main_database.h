// The main window's two database objects, "数据库连接" and "记录集": opened at the window's start
// and used for the whole run.
#pragma once

#include "services/db_connection.h"
#include "services/record_set.h"

namespace lumora::catalogue {

services::DBConnection& MainConnection();
services::RecordSet& MainRecords();

// Makes both objects anew, opens the program directory's mstsc.mdb and binds the record set
// to it. False (and nothing open) when the file cannot be opened or is damaged.
bool OpenMainDatabase();

// Why the catalogue can take no change at all (it could not be opened, or is damaged), as the
// user is told it; empty when it is open. Each try to open it again sets it anew.
const Text& CatalogueRefusal();

// What the last OpenMainDatabase met (a journal set aside, why the file is only read), also
// when it failed or found the file damaged.
services::StorageReport MainDatabaseReport();

// Before a change: a catalogue that was only readable (another program was writing it) is opened
// again, so that it is written once the other program has let it go. Returns whether it is
// writable now.
bool ReopenIfReadOnly();

}  // namespace lumora::catalogue
