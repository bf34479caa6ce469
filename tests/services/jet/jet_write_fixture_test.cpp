#include <gtest/gtest.h>

#include <filesystem>

#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/values/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FixtureDirectory;

#define SKIP_WITHOUT_SHARED()                                   \
  do {                                                          \
    if (!FixtureDirectory()) {                                  \
      GTEST_SKIP() << "genuine Access files are not available"; \
    }                                                           \
  } while (false)

Text FirstProblem(const CheckReport& report) {
  return report.problems.empty() ? Text() : report.problems.front();
}

TEST(JetWriteFixture, GenuineFilesPassTheConsistencyCheck) {
  SKIP_WITHOUT_SHARED();
  for (const std::string& file : testing::FixtureFiles()) {
    const std::optional<Database> database = Database::Open(file);
    if (!database) {
      continue;  // Access 97
    }
    const CheckReport report = database->Check();
    EXPECT_GT(report.tables_checked, 0u) << file;
    if (file.ends_with("testRefGlobalV2000.mdb")) {
      // Access left this file's MSysACEs count behind its rows; nothing else is off.
      ASSERT_EQ(report.problems.size(), 1u) << FirstProblem(report);
      EXPECT_EQ(report.problems[0], "MSysACEs: row count 61 but 64 rows");
      EXPECT_TRUE(report.SafeToWrite());
      continue;
    }
    EXPECT_TRUE(report.Ok()) << file << ": " << FirstProblem(report) << " ("
                             << report.problems.size() << ")";
  }
}

TEST(JetWriteFixture, GenuineAutoNumberTableTakesInsertsUpdatesAndDeletes) {
  SKIP_WITHOUT_SHARED();
  testing_support::TempDirectory directory;
  const std::optional<Text> path = testing::CopyFixture(directory, "V2000_with-password.mdb");
  ASSERT_TRUE(path.has_value());
  std::vector<Row> before;
  {
    std::optional<Database> database = Database::Open(*path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    before = database->OpenTable("Table1")->ReadAll();
    ASSERT_FALSE(before.empty());
    const std::uint32_t last = database->OpenTable("Table1")->Definition().autonumber;
    std::int32_t id = 0;
    ASSERT_TRUE(database->InsertRow("Table1", {{"Data", Text("新的一行")}}, &id));
    EXPECT_EQ(static_cast<std::uint32_t>(id), last + 1);
    ASSERT_TRUE(database->UpdateRow("Table1", before[0].id, {{"Data", Text(250, 'u')}}));
    ASSERT_TRUE(database->DeleteRow("Table1", before.back().id));
    const CheckReport report = database->Check();
    EXPECT_TRUE(report.Ok()) << FirstProblem(report);
  }
  const std::optional<Database> database = Database::Open(*path);
  ASSERT_TRUE(database.has_value());
  const std::vector<Row> after = database->OpenTable("Table1")->ReadAll();
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(FieldToText(after[0].values[1]), Text(250, 'u'));
  EXPECT_EQ(FieldToText(after.back().values[1]), "新的一行");

  const std::string native = directory.NativePath("V2000_with-password.mdb");
  if (const auto csv = testing::MdbExport(native, "Table1")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), after.size() + 1) << *csv;
    EXPECT_NE(csv->find(std::string(250, 'u')), std::string::npos);
    EXPECT_NE(csv->find(testing::Utf8(u"新的一行")), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Table1")) {
    EXPECT_NE(json->find(std::string(250, 'u')), std::string::npos);
    EXPECT_NE(json->find(testing::Utf8(u"新的一行")), std::string::npos);
  }
}

TEST(JetWriteFixture, TextIndexOutsideTheKnownSortCodesRefusesCleanly) {
  SKIP_WITHOUT_SHARED();
  testing_support::TempDirectory directory;
  const std::optional<Text> path = testing::CopyFixture(directory, "testUnicodeCompV2003.mdb");
  ASSERT_TRUE(path.has_value());
  const std::string native = directory.NativePath("testUnicodeCompV2003.mdb");
  const Bytes original = testing::ReadWholeFile(native);
  {
    std::optional<Database> database = Database::Open(*path, /*read_only=*/false);
    ASSERT_TRUE(database.has_value());
    const std::vector<Row> rows = database->OpenTable("Table")->ReadAll();
    ASSERT_FALSE(rows.empty());
    // Chinese, spaces and punctuation have key forms this engine does not build.
    EXPECT_FALSE(database->InsertRow("Table", {{"Unicode", Text("中文")}}));
    EXPECT_FALSE(database->InsertRow("Table", {{"Unicode", Text("two words")}}));
    EXPECT_FALSE(database->UpdateRow("Table", rows[0].id, {{"Unicode", Text("a-b")}}));
    // Rows whose key cannot be built cannot be taken out of the index either.
    EXPECT_FALSE(database->DeleteRow("Table", rows[0].id));
  }
  EXPECT_EQ(testing::ReadWholeFile(native), original);

  std::optional<Database> database = Database::Open(*path, /*read_only=*/false);
  ASSERT_TRUE(database.has_value());
  // Letters and digits have known codes, so the text index is kept up to date.
  std::int32_t id = 0;
  ASSERT_TRUE(database->InsertRow("Table", {{"Unicode", Text("Lumora2026")}}, &id));
  EXPECT_EQ(id, 9);
  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << FirstProblem(report);
  if (const auto csv = testing::MdbExport(native, "Table")) {
    EXPECT_NE(csv->find("9,\"Lumora2026\""), std::string::npos) << *csv;
  }
}

TEST(JetWriteFixture, Access97AndDamagedFilesAreNotOpenedForWriting) {
  SKIP_WITHOUT_SHARED();
  testing_support::TempDirectory directory;
  const std::optional<Text> jet3 = testing::CopyFixture(directory, "V1997_test.mdb");
  ASSERT_TRUE(jet3.has_value());
  EXPECT_FALSE(Database::Open(*jet3, /*read_only=*/false).has_value());

  const std::optional<Text> truncated = testing::CopyFixture(directory, "empty.mdb");
  ASSERT_TRUE(truncated.has_value());
  Bytes bytes = testing::ReadWholeFile(directory.NativePath("empty.mdb"));
  bytes.resize(bytes.size() - 100);
  ASSERT_TRUE(testing::WriteWholeFile(directory.NativePath("empty.mdb"), bytes));
  EXPECT_FALSE(Database::Open(*truncated, /*read_only=*/false).has_value());

  const std::optional<Text> corrupt = testing::CopyFixture(directory, "adox_jet4.mdb");
  ASSERT_TRUE(corrupt.has_value());
  bytes = testing::ReadWholeFile(directory.NativePath("adox_jet4.mdb"));
  std::fill(bytes.begin() + 2 * 4096, bytes.begin() + 3 * 4096, 0);
  ASSERT_TRUE(testing::WriteWholeFile(directory.NativePath("adox_jet4.mdb"), bytes));
  EXPECT_FALSE(Database::Open(*corrupt, /*read_only=*/false).has_value());

  // A file marked read-only is never opened for writing, whoever runs the test.
  testing_support::TempDirectory other;
  const std::optional<Text> readOnly = testing::ReadOnlyCopyOfFixture(other, "empty.mdb");
  ASSERT_TRUE(readOnly.has_value());
  EXPECT_FALSE(Database::Open(*readOnly, /*read_only=*/false).has_value());
}

}  // namespace
}  // namespace lumora::jet
