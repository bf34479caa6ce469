#include "services/jet/database.h"

#include <array>

#include "platform/code_page.h"
#include "platform/files.h"
#include "services/jet/change_journal.h"
#include "services/jet/failure.h"
#include "services/values/name_compare.h"

namespace lumora::jet {

std::optional<Database> Database::Open(const Text& path, bool read_only, OpenReport* report) {
  if (!read_only) {
    ClearFailure();
    std::unique_ptr<PageSource> source = OpenWritableFileSource(path, false, report);
    if (!source) {
      NoteFailure(JET_FAILURE("the file could not be opened for writing"));
    }
    std::optional<Database> database = Open(std::move(source));
    if (!database && report != nullptr) {
      report->failure = NotedFailure();
    }
    return database;
  }
  // A change cut short is undone before the file is read, by a writer for a moment, when no
  // other program holds the file; a journal of another file is set aside.
  if (platform::FileExists(JournalPath(path))) {
    OpenReport writer;
    OpenWritableFileSource(path, false, &writer);
    if (report != nullptr) {
      report->journal = writer.journal;
    }
  }
  return Open(OpenSnapshotSource(path, report));
}

std::optional<Database> Database::Open(std::unique_ptr<PageSource> source) {
  if (!source) {
    return std::nullopt;
  }
  std::array<std::uint8_t, kHeaderBytes> first{};
  JET_REFUSE_IF(!source->Read(0, first), "the file's header cannot be read");
  const std::optional<FormatInfo> info = ReadHeader(first);
  // Jet 3 rows and ACE's extra column kinds are laid out differently.
  JET_REFUSE_IF(!info || info->version != JetVersion::kJet4, "the file is no Jet 4 database");
  const bool writable = source->Writable();
  // Writing needs plain pages and a file that ends on a page boundary.
  JET_REFUSE_IF(writable && info->database_key != 0, "an encrypted file is only read");
  JET_REFUSE_IF(writable && source->Size() % info->page_size != 0,
                "the file does not end on a page boundary: it is cut short");
  auto pager = std::make_shared<Pager>(std::shared_ptr<PageSource>(std::move(source)),
                                       info->page_size, info->database_key);
  std::optional<std::vector<CatalogEntry>> catalog = ReadCatalog(pager);
  JET_REFUSE_IF(!catalog, "the file's catalog cannot be read");
  return Database(*info, std::move(pager), std::move(*catalog), writable);
}

std::vector<Text> Database::TableNames() const {
  std::vector<Text> names;
  for (const CatalogEntry& entry : catalog_) {
    if (entry.IsTable() && !entry.IsSystem()) {
      names.push_back(platform::WideToGbk(entry.name));
    }
  }
  return names;
}

std::optional<TableReader> Database::OpenTable(const Text& name) const {
  const std::u16string wide = platform::GbkToWide(name);
  for (const CatalogEntry& entry : catalog_) {
    if (!entry.IsTable() || !values::SameName(entry.name, wide)) {
      continue;
    }
    std::optional<TableDefinition> definition =
        ReadTableDefinition(*pager_, entry.DefinitionPage());
    if (!definition) {
      return std::nullopt;
    }
    return TableReader(pager_, std::move(*definition));
  }
  return std::nullopt;
}

}  // namespace lumora::jet
