// What lumoractl says about a catalogue file beyond its rows: a journal beside it that was set
// aside, and why it cannot be written, in the words the program uses.
#pragma once

#include <string_view>

#include "base/text.h"
#include "services/jet/page_source.h"
#include "services/storage_report.h"

namespace lumora::ctl {

services::StorageReport StorageReportOf(const jet::OpenReport& report);

// Prints "lumoractl: FILE: " and the notice on standard error when the open set a journal aside.
void TellSetAsideJournal(std::string_view file, const services::StorageReport& report);

}  // namespace lumora::ctl
