#include "catalogue/main_database.h"

#include <memory>

#include "catalogue/storage_text.h"
#include "platform/program_directory.h"

namespace lumora::catalogue {
namespace {

// Created with the main window's start; the record set goes before the connection it uses.
struct MainDatabase {
  services::DBConnection connection;
  services::RecordSet records;
};

Text& Refusal() {
  static Text refusal;
  return refusal;
}

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
  // A damaged catalogue would show only some of its servers, as if the others were gone: it is
  // not used at all, as one that cannot be opened. The report, taken after the consistency
  // check, names what the check found.
  const bool damaged = opened && database.connection.Damaged();
  OpenReport() = database.connection.Report();
  if (damaged) {
    Stored().reset();
    Current().records.SetConnection(Current().connection);
    Refusal() =
        "数据文件已损坏，无法修改：mstsc."
        "mdb的内容有错误或不完整。请用它的备份替换它，然后重新启动本软件。";
    return false;
  }
  database.records.SetConnection(database.connection);
  const Text why = StorageProblemText(OpenReport());
  Refusal() = opened ? Text()
              : !why.empty()
                  ? "数据文件无法打开，无法修改：" + why + "。"
                  : Text(
                        "数据文件无法打开，无法修改：mstsc.mdb可能不是Access数据库，或正被其他"
                        "程序独占使用。请关闭其他程序后重新启动本软件。");
  return opened;
}

const Text& CatalogueRefusal() {
  return Refusal();
}

bool ReopenIfReadOnly() {
  if (!MainConnection().ReadOnly()) {
    return true;
  }
  return OpenMainDatabase() && !MainConnection().ReadOnly();
}

}  // namespace lumora::catalogue
