// Catalogue files for tests: a real Access database holding table Server, made by the program's
// own engine.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "base/text.h"
#include "catalogue/server_store.h"

namespace lumora::testing_support {

// One row: column name and value (nullopt: Null).
using CatalogueRow = std::vector<std::pair<Text, std::optional<Text>>>;

// Creates `path` (program-style) with table Server and `rows` in it; false on any failure.
bool CreateCatalogue(const Text& path, const std::vector<CatalogueRow>& rows = {});

// Every row of table Server as a fresh connection reads it (the list's members and the record
// number); a failure to read is a test failure.
std::vector<catalogue::ServerRecord> StoredServers(const Text& path);

// A row of the usual columns.
CatalogueRow ServerRow(const Text& name, const Text& port = "3389", const Text& user = "admin",
                       const Text& password = "", const Text& remark = "");

}  // namespace lumora::testing_support
