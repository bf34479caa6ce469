// Table rows as comma-separated text laid out like mdb-export's default output, so that the two
// can be compared line for line: a header of column names, text-like values in double quotes
// with inner quotes doubled, Null as nothing, dates as "MM/DD/YY HH:MM:SS".
#pragma once

#include <vector>

#include "base/text.h"
#include "services/jet/table_reader.h"

namespace lumora::ctl {

// The header line, without the line end.
// A field in double quotes, a quote inside written twice, as mdb-export writes text.
Text CsvQuoted(const Text& text);

Text CsvHeader(const jet::TableReader& table);

// One row, without the line end.
Text CsvRow(const jet::TableReader& table, const values::Row& row);

}  // namespace lumora::ctl
