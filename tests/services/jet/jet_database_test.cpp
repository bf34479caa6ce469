// Opening genuine sample files: header facts, the catalog, table and column look-up, and the
// values of rows whose content is known.
#include "services/jet/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "platform/code_page.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/values/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FixtureDirectory;
using testing::FixturePath;
using testing::ReadWholeFile;

#define SKIP_WITHOUT_FIXTURES()           \
  if (!FixtureDirectory()) {              \
    GTEST_SKIP() << "no shared fixtures"; \
  }

std::optional<Database> OpenFixture(const std::string& name) {
  return Database::Open(FixturePath(name));
}

std::vector<Text> Texts(const Row& row) {
  std::vector<Text> texts;
  for (const Value& value : row.values) {
    texts.push_back(FieldToText(value));
  }
  return texts;
}

TEST(JetHeader, Jet4FileFacts) {
  SKIP_WITHOUT_FIXTURES();
  for (const char* name :
       {"empty.mdb", "empty2003.mdb", "testUnicodeCompV2003.mdb", "V2000_with-password.mdb"}) {
    const Bytes bytes = ReadWholeFile(FixturePath(name));
    const std::optional<FormatInfo> info = ReadHeader(bytes);
    ASSERT_TRUE(info.has_value()) << name;
    EXPECT_EQ(info->version, JetVersion::kJet4) << name;
    EXPECT_EQ(info->version_byte, 1) << name;
    EXPECT_EQ(info->page_size, 4096u) << name;
    EXPECT_EQ(info->sort_order, 1033) << name;
    EXPECT_EQ(info->sort_version, 0) << name;
    EXPECT_EQ(info->code_page, 1252) << name;
    EXPECT_EQ(info->database_key, 0u) << name;
    // Created some time between 1995 and 2030.
    EXPECT_GT(info->creation_date, 35000.0) << name;
    EXPECT_LT(info->creation_date, 47500.0) << name;
  }
}

TEST(JetHeader, Jet3FileIsRecognisedAndRefused) {
  SKIP_WITHOUT_FIXTURES();
  const Bytes bytes = ReadWholeFile(FixturePath("V1997_test.mdb"));
  const std::optional<FormatInfo> info = ReadHeader(bytes);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->version, JetVersion::kJet3);
  EXPECT_EQ(info->page_size, 2048u);
  EXPECT_FALSE(OpenFixture("V1997_test.mdb").has_value());
}

TEST(JetHeader, NotADatabase) {
  Bytes bytes(4096, 0);
  EXPECT_FALSE(ReadHeader(bytes).has_value());
  const char signature[] = "Standard Jet DB";
  std::copy_n(signature, 15, bytes.begin() + 4);
  bytes[0x14] = 0x01;
  EXPECT_TRUE(ReadHeader(bytes).has_value());
  bytes[0x14] = 0x09;
  EXPECT_FALSE(ReadHeader(bytes).has_value());
  bytes[0x14] = 0x01;
  bytes[0] = 0x01;
  EXPECT_FALSE(ReadHeader(bytes).has_value());
  EXPECT_FALSE(ReadHeader(ByteView(bytes).first(0x40)).has_value());
}

TEST(JetDatabase, OpenFailsForMissingFileAndForWriting) {
  EXPECT_FALSE(Database::Open("/nonexistent/lumora/none.mdb").has_value());
  SKIP_WITHOUT_FIXTURES();
  testing_support::TempDirectory directory;
  const std::optional<Text> readOnly = testing::ReadOnlyCopyOfFixture(directory, "empty.mdb");
  ASSERT_TRUE(readOnly.has_value());
  EXPECT_FALSE(Database::Open(*readOnly, /*read_only=*/false).has_value());
  EXPECT_TRUE(Database::Open(*readOnly, /*read_only=*/true).has_value());
}

TEST(JetDatabase, EmptyFilesHaveNoUserTablesButAFullCatalog) {
  SKIP_WITHOUT_FIXTURES();
  for (const char* name : {"empty.mdb", "empty2003.mdb", "adox_jet4.mdb"}) {
    const std::optional<Database> database = OpenFixture(name);
    ASSERT_TRUE(database.has_value()) << name;
    EXPECT_TRUE(database->TableNames().empty()) << name;
    const auto& catalog = database->Catalog();
    const auto objects = std::find_if(catalog.begin(), catalog.end(), [](const CatalogEntry& e) {
      return e.name == u"MSysObjects";
    });
    ASSERT_NE(objects, catalog.end()) << name;
    EXPECT_TRUE(objects->IsTable());
    EXPECT_TRUE(objects->IsSystem());
    EXPECT_EQ(objects->DefinitionPage(), 2u);
    EXPECT_TRUE(database->OpenTable("msysobjects").has_value()) << name;
  }
}

TEST(JetDatabase, TablesAndColumnsAreFoundWithoutRegardToCase) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> database = OpenFixture("indexTestV2000.mdb");
  ASSERT_TRUE(database.has_value());
  EXPECT_EQ(database->TableNames(), (std::vector<Text>{"Table1", "Table2", "Table3"}));
  const std::optional<TableReader> table = database->OpenTable("tABLE1");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->FindColumn("DATA"), std::optional<std::size_t>(3));
  EXPECT_EQ(table->ColumnName(3), "data");
  EXPECT_FALSE(table->FindColumn("dat").has_value());
  EXPECT_FALSE(database->OpenTable("Table").has_value());
  EXPECT_FALSE(database->OpenTable("").has_value());
}

TEST(JetDatabase, ReadsTheAutoNumberTableOfThePasswordSample) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> database = OpenFixture("V2000_with-password.mdb");
  ASSERT_TRUE(database.has_value());
  EXPECT_EQ(database->TableNames(), std::vector<Text>{"Table1"});
  const std::optional<TableReader> table = database->OpenTable("Table1");
  ASSERT_TRUE(table.has_value());
  ASSERT_EQ(table->Columns().size(), 2u);
  const Column& id = table->Columns()[0];
  EXPECT_EQ(id.name, u"ID");
  EXPECT_EQ(id.type, ColumnType::kLong);
  EXPECT_TRUE(id.IsAutoNumber());
  EXPECT_TRUE(id.IsFixed());
  const Column& data = table->Columns()[1];
  EXPECT_EQ(data.type, ColumnType::kText);
  EXPECT_EQ(data.length, 510);
  EXPECT_EQ(data.sort_order, 1033);
  EXPECT_EQ(data.extended_flags & kColumnCompressedUnicode, kColumnCompressedUnicode);

  const std::vector<Row> rows = table->ReadAll();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(table->Definition().row_count, 3u);
  EXPECT_EQ(table->Definition().autonumber, 3u);
  for (std::size_t index = 0; index < rows.size(); ++index) {
    EXPECT_EQ(FieldToText(rows[index].values[0]), std::to_string(index + 1));
  }
  // The primary key: a logical index of kind 1 over a unique real index on column 0.
  const TableDefinition& definition = table->Definition();
  const auto primary = std::find_if(
      definition.logical_indexes.begin(), definition.logical_indexes.end(),
      [](const LogicalIndex& index) { return index.kind == LogicalIndexKind::kPrimaryKey; });
  ASSERT_NE(primary, definition.logical_indexes.end());
  ASSERT_LT(primary->real_index, definition.real_indexes.size());
  const RealIndex& real = definition.real_indexes[primary->real_index];
  EXPECT_TRUE(real.IsUnique());
  ASSERT_EQ(real.columns.size(), 1u);
  EXPECT_EQ(real.columns[0].column_number, 0);
  EXPECT_NE(real.root_page, 0u);
}

TEST(JetDatabase, DecodesCompressedAndPlainText) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> database = OpenFixture("testUnicodeCompV2003.mdb");
  ASSERT_TRUE(database.has_value());
  const std::optional<TableReader> table = database->OpenTable("Table");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->Definition().page, 53u);
  EXPECT_EQ(table->Definition().autonumber, 8u);
  const std::vector<Row> rows = table->ReadAll();
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0].id, (RowId{55, 0}));
  EXPECT_EQ(std::get<std::u16string>(rows[0].values[1]), u"only ascii chars");
  // Outside the assertion macro, which would also spell the literal in GBK (no "ä" there).
  const std::u16string finnish = u"ääkkösiä";
  EXPECT_EQ(std::get<std::u16string>(rows[1].values[1]), finnish);
  EXPECT_EQ(std::get<std::u16string>(rows[2].values[1]), u"Мир");
  EXPECT_EQ(std::get<std::u16string>(rows[4].values[1]), u"漢字仮名交じり文");
  // As text: GBK, with what GBK cannot spell replaced.
  EXPECT_EQ(FieldToText(rows[4].values[1]), "漢字仮名交じり文");
  EXPECT_EQ(FieldToText(rows[2].values[1]), "Мир");
}

TEST(JetDatabase, SkipsDeletedRowsAndFollowsMovedOnes) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> deleted = OpenFixture("delTestV2000.mdb");
  ASSERT_TRUE(deleted.has_value());
  const std::optional<TableReader> table = deleted->OpenTable("Table");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->ReadAll().size(), table->Definition().row_count);

  const std::optional<Database> overflow = OpenFixture("overflowTestV2000.mdb");
  ASSERT_TRUE(overflow.has_value());
  const std::optional<TableReader> moved = overflow->OpenTable("Table1");
  ASSERT_TRUE(moved.has_value());
  const std::vector<Row> rows = moved->ReadAll();
  EXPECT_EQ(rows.size(), moved->Definition().row_count);
  // Every row keeps its header address, and each is reported once.
  std::vector<std::pair<std::uint32_t, int>> ids;
  for (const Row& row : rows) {
    ids.emplace_back(row.id.page, row.id.row);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  std::vector<Text> firsts;
  for (const Row& row : rows) {
    firsts.push_back(FieldToText(row.values[0]));
  }
  EXPECT_NE(std::find(firsts.begin(), firsts.end(), "row4col1"), firsts.end());
}

TEST(JetDatabase, ReadsEveryTypeOfTheTypesTable) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> database = OpenFixture("testRefGlobalV2000.mdb");
  ASSERT_TRUE(database.has_value());
  const std::optional<TableReader> table = database->OpenTable("Table1");
  ASSERT_TRUE(table.has_value());
  const std::vector<Row> rows = table->ReadAll();
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(Texts(rows[0]),
            (std::vector<Text>{"abcdefg", "hijklmnop", "2", "222", "333333333", "444.55500000",
                               "1974-09-21 00:00:00", "3.5", "TRUE"}));
  EXPECT_EQ(Texts(rows[1]), (std::vector<Text>{"a", "b", "0", "0", "0", "0.00000000",
                                               "1981-12-12 00:00:00", "0", "FALSE"}));
}

TEST(JetDatabase, ReadsVariableLengthGuidColumns) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> database = OpenFixture("V2000_with-password.mdb");
  ASSERT_TRUE(database.has_value());
  const std::optional<TableReader> table = database->OpenTable("MSysNameMap");
  ASSERT_TRUE(table.has_value());
  const std::vector<Row> rows = table->ReadAll();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(FieldToText(rows[0].values[0]), "{5EDFA4EB-AD21-4074-A548-77B3123BE16F}");
  // Stored with a terminating zero character, which reading keeps.
  EXPECT_EQ(std::get<std::u16string>(rows[0].values[2]), std::u16string(u"Table1\0", 7));
  EXPECT_EQ(FieldToText(rows[0].values[3]), "[BLOB]");
}

TEST(JetDatabase, MemoryAndFileSourcesAgree) {
  SKIP_WITHOUT_FIXTURES();
  const std::optional<Database> from_file = OpenFixture("fixedTextTestV2000.mdb");
  const std::optional<Database> from_memory =
      Database::Open(MemorySource(ReadWholeFile(FixturePath("fixedTextTestV2000.mdb"))));
  ASSERT_TRUE(from_file.has_value());
  ASSERT_TRUE(from_memory.has_value());
  const std::vector<Row> a = from_file->OpenTable("users")->ReadAll();
  const std::vector<Row> b = from_memory->OpenTable("users")->ReadAll();
  ASSERT_EQ(a.size(), b.size());
  ASSERT_FALSE(a.empty());
  for (std::size_t index = 0; index < a.size(); ++index) {
    EXPECT_EQ(a[index].values, b[index].values);
  }
}

}  // namespace
}  // namespace lumora::jet
