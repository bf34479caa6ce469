#include "catalogue/main_database.h"

#include <memory>

#include "platform/program_directory.h"

namespace lumora::catalogue {
namespace {

// Created with the main window's start; the record set goes before the connection it uses.
struct MainDatabase {
  services::DBConnection connection;
  services::RecordSet records;
};

std::unique_ptr<MainDatabase>& Stored() {
  static std::unique_ptr<MainDatabase> database;
  return database;
}

MainDatabase& Current() {
  if (!Stored()) {
    Stored() = std::make_unique<MainDatabase>();
  }
  return *Stored();
}

services::StorageReport& OpenReport() {
  static services::StorageReport report;
  return report;
}

}  // namespace

services::DBConnection& MainConnection() {
  return Current().connection;
}

services::RecordSet& MainRecords() {
  return Current().records;
}

services::StorageReport MainDatabaseReport() {
  return OpenReport();
}

bool OpenMainDatabase() {
  Stored().reset();
  MainDatabase& database = Current();
  const bool opened = database.connection.OpenAccess(ProgramFile("mstsc.mdb"), "");
  OpenReport() = database.connection.Report();
  // A damaged catalogue would show only some of its servers, as if the others were gone: it is
  // not used at all, as one that cannot be opened.
  if (opened && database.connection.Damaged()) {
    Stored().reset();
    Current().records.SetConnection(Current().connection);
    return false;
  }
  database.records.SetConnection(database.connection);
  return opened;
}

bool ReopenIfReadOnly() {
  if (!MainConnection().ReadOnly()) {
    return true;
  }
  return OpenMainDatabase() && !MainConnection().ReadOnly();
}

}  // namespace lumora::catalogue
