// What lumoractl says about a catalogue file beyond its rows: a journal beside it that was set
// aside, and why it cannot be written, in the words the program uses.
#pragma once

#include <string_view>

#include "base/text.h"
#include "services/db_connection.h"
#include "services/jet/page_source.h"
#include "services/record_set.h"
#include "services/storage_report.h"

namespace lumora::ctl {

services::StorageReport StorageReportOf(const jet::OpenReport& report);

// Prints "lumoractl: FILE: " and the notice on standard error when the open set a journal aside.
void TellSetAsideJournal(std::string_view file, const services::StorageReport& report);

// Opens the catalogue `file` for a change, binding `records` to it; says why and returns false
// when it cannot be changed (damaged, read-only, in use, a journal beside it stuck...).
bool OpenCatalogueForChange(services::DBConnection& connection, services::RecordSet& records,
                            const Text& file);

}  // namespace lumora::ctl
