#include "services/jet/database.h"

#include <array>

#include "platform/code_page.h"
#include "platform/files.h"
#include "services/jet/change_journal.h"
#include "services/values/name_compare.h"

namespace lumora::jet {

std::optional<Database> Database::Open(const Text& path, bool read_only, OpenReport* report) {
  if (!read_only) {
    return Open(OpenWritableFileSource(path, false, report));
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
  if (!source->Read(0, first)) {
    return std::nullopt;
  }
  const std::optional<FormatInfo> info = ReadHeader(first);
  // Jet 3 rows and ACE's extra column kinds are laid out differently.
  if (!info || info->version != JetVersion::kJet4) {
    return std::nullopt;
  }
  const bool writable = source->Writable();
  // Writing needs plain pages and a file that ends on a page boundary.
  if (writable && (info->database_key != 0 || source->Size() % info->page_size != 0)) {
    return std::nullopt;
  }
  auto pager = std::make_shared<Pager>(std::shared_ptr<PageSource>(std::move(source)),
                                       info->page_size, info->database_key);
  std::optional<std::vector<CatalogEntry>> catalog = ReadCatalog(pager);
  if (!catalog) {
    return std::nullopt;
  }
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
