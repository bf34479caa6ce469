// The main window's two database objects, "数据库连接" and "记录集": opened at the window's start
// and used for the whole run.
#pragma once

#include "services/db_connection.h"
#include "services/record_set.h"

namespace lumora::catalogue {

services::DBConnection& MainConnection();
services::RecordSet& MainRecords();

// Makes both objects anew, opens the program directory's mstsc.mdb and binds the record set
// to it.
bool OpenMainDatabase();

}  // namespace lumora::catalogue
