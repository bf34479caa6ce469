// Database::Create: the pages of an empty Jet 4 file written directly, then the catalog rows
// added through the ordinary insert path so that MSysObjects' indexes are built as any insert
// builds them.
#include <cstdio>
#include <ctime>
#include <random>

#include "platform/files.h"
#include "platform/locked_file.h"
#include "services/jet/btree_writer.h"
#include "services/jet/byte_writer.h"
#include "services/jet/catalog.h"
#include "services/jet/data_page_writer.h"
#include "services/jet/database.h"
#include "services/jet/failure.h"
#include "services/jet/header_page.h"
#include "services/jet/index_page.h"
#include "services/jet/table_layout.h"
#include "services/jet/table_writer.h"

namespace lumora::jet {
namespace {

constexpr std::uint32_t kPageSize = 4096;
constexpr std::size_t kUsageMapRowSize = 69;
constexpr std::uint32_t kUsageMapsPage = 6;
constexpr std::uint32_t kCatalogIdRoot = 7;
constexpr std::uint32_t kCatalogNameRoot = 8;
constexpr std::uint32_t kServerDefinitionPage = 9;
constexpr std::uint32_t kServerKeyRoot = 10;
constexpr std::uint32_t kFirstFreePage = 11;

constexpr std::int32_t kRootContainer = 0x0F000000;
constexpr std::int32_t kTablesContainer = 0x0F000001;
constexpr std::int32_t kDatabasesContainer = 0x0F000002;
constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
constexpr std::int32_t kDatabaseObject = 0x10000000;
constexpr std::int32_t kSystemFlags = static_cast<std::int32_t>(0x80000000u);

ColumnLayout Col(std::u16string name, ColumnType type, std::uint16_t length = 0) {
  return ColumnLayout{std::move(name), type, length, false};
}

RowPointer MapRow(std::uint8_t row) {
  return RowPointer{kUsageMapsPage, row};
}

// Usage map rows on page 6, in this order.
enum MapRowNumber : std::uint8_t {
  kCatalogOwned,
  kCatalogFree,
  kCatalogIdMap,
  kCatalogNameMap,
  kAcesOwned,
  kAcesFree,
  kQueriesOwned,
  kQueriesFree,
  kRelationshipsOwned,
  kRelationshipsFree,
  kServerOwned,
  kServerFree,
  kServerKeyMap,
  kMapRowCount,
};

TableLayout CatalogLayout() {
  TableLayout table;
  table.system = true;
  table.columns = {Col(u"Id", ColumnType::kLong),
                   Col(u"ParentId", ColumnType::kLong),
                   Col(u"Name", ColumnType::kText, 510),
                   Col(u"Type", ColumnType::kInteger),
                   Col(u"DateCreate", ColumnType::kDateTime),
                   Col(u"DateUpdate", ColumnType::kDateTime),
                   Col(u"Owner", ColumnType::kBinary, 255),
                   Col(u"Flags", ColumnType::kLong),
                   Col(u"Database", ColumnType::kMemo),
                   Col(u"Connect", ColumnType::kMemo),
                   Col(u"ForeignName", ColumnType::kText, 510),
                   Col(u"RmtInfoShort", ColumnType::kBinary, 255),
                   Col(u"RmtInfoLong", ColumnType::kOle),
                   Col(u"Lv", ColumnType::kOle),
                   Col(u"LvProp", ColumnType::kOle),
                   Col(u"LvModule", ColumnType::kOle),
                   Col(u"LvExtra", ColumnType::kOle)};
  table.indexes = {
      IndexLayout{u"Id", {0}, 0x81, false, MapRow(kCatalogIdMap), kCatalogIdRoot},
      IndexLayout{u"ParentIdName", {1, 2}, 0x81, false, MapRow(kCatalogNameMap), kCatalogNameRoot}};
  table.owned_pages = MapRow(kCatalogOwned);
  table.free_space_pages = MapRow(kCatalogFree);
  return table;
}

TableLayout SystemLayout(std::vector<ColumnLayout> columns, std::uint8_t owned) {
  TableLayout table;
  table.system = true;
  table.columns = std::move(columns);
  table.owned_pages = MapRow(owned);
  table.free_space_pages = MapRow(static_cast<std::uint8_t>(owned + 1));
  return table;
}

TableLayout ServerLayout() {
  TableLayout table;
  ColumnLayout key = Col(u"编号", ColumnType::kLong);
  key.auto_number = true;
  table.columns = {key,
                   Col(u"服务器名", ColumnType::kText, 510),
                   Col(u"端口", ColumnType::kText, 510),
                   Col(u"用户名", ColumnType::kText, 510),
                   Col(u"密码", ColumnType::kText, 510),
                   Col(u"域", ColumnType::kText, 510),
                   Col(u"备注", ColumnType::kText, 510)};
  table.indexes = {
      IndexLayout{u"PrimaryKey", {0}, 0x89, true, MapRow(kServerKeyMap), kServerKeyRoot}};
  table.owned_pages = MapRow(kServerOwned);
  table.free_space_pages = MapRow(kServerFree);
  return table;
}

Bytes InlineMap(const std::vector<std::uint32_t>& pages) {
  Bytes row(kUsageMapRowSize, 0);
  for (std::uint32_t page : pages) {
    row[5 + page / 8] |= static_cast<std::uint8_t>(1u << (page % 8));
  }
  return row;
}

Bytes GlobalMapPage() {
  Bytes page = NewDataPage(1, kPageSize);
  Bytes free(kUsageMapRowSize, 0);
  for (std::uint32_t number = kFirstFreePage; number < (kUsageMapRowSize - 5) * 8; ++number) {
    free[5 + number / 8] |= static_cast<std::uint8_t>(1u << (number % 8));
  }
  AddRow(page, free);
  AddRow(page, Bytes(kUsageMapRowSize, 0));
  return page;
}

Bytes UsageMapsPage() {
  Bytes page = NewDataPage(0, kPageSize);
  for (std::uint8_t row = 0; row < kMapRowCount; ++row) {
    std::vector<std::uint32_t> pages;
    if (row == kCatalogIdMap) {
      pages = {kCatalogIdRoot};
    } else if (row == kCatalogNameMap) {
      pages = {kCatalogNameRoot};
    } else if (row == kServerKeyMap) {
      pages = {kServerKeyRoot};
    }
    AddRow(page, InlineMap(pages));
  }
  return page;
}

double Now() {
  constexpr double kSecondsPerDay = 86400.0;
  constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 as an OLE date
  return kUnixEpochDay + static_cast<double>(std::time(nullptr)) / kSecondsPerDay;
}

std::vector<Value> CatalogRow(std::int32_t id, std::int32_t parent, std::u16string name,
                              std::int16_t type, std::int32_t flags, double now) {
  std::vector<Value> row(17);
  row[0] = id;
  row[1] = parent;
  row[2] = std::move(name);
  row[3] = type;
  row[4] = DateTime{now};
  row[5] = DateTime{now};
  row[7] = flags;
  return row;
}

std::optional<std::vector<Bytes>> EmptyFilePages(double now) {
  std::vector<Bytes> pages;
  pages.push_back(BuildHeaderPage(now, kPageSize));
  pages.push_back(GlobalMapPage());
  const std::vector<TableLayout> tables = {
      CatalogLayout(),
      SystemLayout({Col(u"ACM", ColumnType::kLong), Col(u"FInheritable", ColumnType::kBoolean),
                    Col(u"ObjectId", ColumnType::kLong), Col(u"SID", ColumnType::kBinary, 255)},
                   kAcesOwned),
      SystemLayout({Col(u"Attribute", ColumnType::kByte), Col(u"Expression", ColumnType::kMemo),
                    Col(u"Flag", ColumnType::kInteger), Col(u"LvExtra", ColumnType::kOle),
                    Col(u"Name1", ColumnType::kMemo), Col(u"Name2", ColumnType::kMemo),
                    Col(u"ObjectId", ColumnType::kLong), Col(u"Order", ColumnType::kBinary, 255)},
                   kQueriesOwned),
      SystemLayout({Col(u"ccolumn", ColumnType::kLong), Col(u"grbit", ColumnType::kLong),
                    Col(u"icolumn", ColumnType::kLong), Col(u"szColumn", ColumnType::kText, 510),
                    Col(u"szObject", ColumnType::kText, 510),
                    Col(u"szReferencedColumn", ColumnType::kText, 510),
                    Col(u"szReferencedObject", ColumnType::kText, 510),
                    Col(u"szRelationship", ColumnType::kText, 510)},
                   kRelationshipsOwned)};
  for (const TableLayout& table : tables) {
    std::optional<Bytes> page = BuildTableDefinitionPage(table, kPageSize);
    if (!page) {
      return std::nullopt;
    }
    pages.push_back(std::move(*page));
  }
  pages.push_back(UsageMapsPage());
  pages.push_back(SerializeIndexPage(IndexPage{}, kCatalogDefinitionPage, kPageSize));
  pages.push_back(SerializeIndexPage(IndexPage{}, kCatalogDefinitionPage, kPageSize));
  std::optional<Bytes> server = BuildTableDefinitionPage(ServerLayout(), kPageSize);
  if (!server) {
    return std::nullopt;
  }
  pages.push_back(std::move(*server));
  pages.push_back(SerializeIndexPage(IndexPage{}, kServerDefinitionPage, kPageSize));
  return pages;
}

bool WriteNewDatabase(const Text& path) {
  const double now = Now();
  const std::optional<std::vector<Bytes>> pages = EmptyFilePages(now);
  if (!pages) {
    return false;
  }
  std::shared_ptr<PageSource> source = OpenWritableFileSource(path, true);
  JET_REFUSE_IF(!source, "the new file could not be made");
  for (std::size_t number = 0; number < pages->size(); ++number) {
    JET_REFUSE_IF(!source->Write(number * kPageSize, (*pages)[number]),
                  "the new file's pages could not be written");
  }
  JET_REFUSE_IF(!source->Flush(), "the new file's pages could not be made durable");
  Pager pager(source, kPageSize, 0);
  std::optional<TableDefinition> catalog = ReadTableDefinition(pager, kCatalogDefinitionPage);
  JET_REFUSE_IF(!catalog, "the new file's catalog cannot be read back");
  const std::vector<std::vector<Value>> rows = {
      CatalogRow(kTablesContainer, kRootContainer, u"Tables", 3, kSystemFlags, now),
      CatalogRow(kDatabasesContainer, kRootContainer, u"Databases", 3, kSystemFlags, now),
      CatalogRow(kRelationshipsContainer, kRootContainer, u"Relationships", 3, kSystemFlags, now),
      CatalogRow(kDatabaseObject, kDatabasesContainer, u"MSysDb", 2, kSystemFlags, now),
      CatalogRow(2, kTablesContainer, u"MSysObjects", 1, kSystemFlags, now),
      CatalogRow(3, kTablesContainer, u"MSysACEs", 1, kSystemFlags, now),
      CatalogRow(4, kTablesContainer, u"MSysQueries", 1, kSystemFlags, now),
      CatalogRow(5, kTablesContainer, u"MSysRelationships", 1, kSystemFlags, now),
      CatalogRow(kServerDefinitionPage, kTablesContainer, u"Server", 1, 0, now)};
  for (const std::vector<Value>& row : rows) {
    if (!InsertValues(pager, *catalog, row)) {
      return false;
    }
  }
  JET_REFUSE_IF(!source->Flush(), "the new file's catalog could not be made durable");
  return true;
}

// A name of this create's own beside `path`: two creates of one path never share one.
Text BuildingName(const Text& path) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".creating-%08x%08x", random(), random());
  return path + suffix;
}

// Removes what creates of `path` that were cut short left: files being built that nobody holds
// any more, with their journals.
void RemoveLeftovers(const Text& path) {
  const std::size_t separator = path.find_last_of("\\/");
  const Text folder = separator == Text::npos ? Text() : path.substr(0, separator + 1);
  const Text name = path.substr(folder.size());
  for (const Text& found : platform::FindFiles(path + ".creating*")) {
    if (found.ends_with("-journal") || !found.starts_with(name + ".creating")) {
      continue;
    }
    const Text leftover = folder + found;
    // A create under way holds its file; one that died let go of it.
    if (platform::OpenLockedFile(leftover, platform::OpenMode::kExisting) == nullptr &&
        platform::LastFileError() == platform::FileError::kInUse) {
      continue;
    }
    platform::RemoveFile(JournalPath(leftover));
    platform::RemoveFile(leftover);
  }
}

}  // namespace

// The file is built under a name of its own and takes its real name only when it is whole, so
// that a create cut short leaves no half-built catalogue where the program looks for one (nor
// one that would block the next create).
bool Database::Create(const Text& path, const std::function<bool(const Text&)>& fill,
                      OpenReport* report) {
  ClearFailure();
  const bool created = CreateNew(path, fill, report);
  if (!created && report != nullptr) {
    report->failure = NotedFailure();
  }
  return created;
}

bool Database::CreateNew(const Text& path, const std::function<bool(const Text&)>& fill,
                         OpenReport* report) {
  JET_REFUSE_IF(platform::FileExists(path), "a file of that name exists already");
  // No file is there for a journal to belong to; it is kept, in case its file turns up again.
  const Text journal = JournalPath(path);
  if (platform::FileExists(journal)) {
    Text set_aside_as;
    JET_REFUSE_IF(!SetAsideJournal(journal, set_aside_as),
                  "a journal where the file goes could not be set aside");
    if (report != nullptr) {
      report->journal = {.kind = JournalOutcome::Kind::kSetAside, .set_aside_as = set_aside_as};
    }
  }
  const Text building = BuildingName(path);
  bool built = WriteNewDatabase(building);
  if (built && fill && !fill(building)) {
    NoteFailure(JET_FAILURE("the new file could not be filled"));
    built = false;
  }
  if (built && !platform::RenameFileNoReplace(building, path)) {
    NoteFailure(JET_FAILURE("the new file could not take its name"));
    built = false;
  }
  if (!built) {
    platform::RemoveFile(JournalPath(building));
    platform::RemoveFile(building);
    return false;
  }
  platform::FlushFolderOf(path);
  RemoveLeftovers(path);
  return true;
}

}  // namespace lumora::jet
