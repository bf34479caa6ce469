#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/values/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;

TEST(JetWriteDelete, DeletedRowsVanishFromRowsCountsAndIndex) {
  testing_support::TempDirectory directory;
  const Text path = FileIn(directory, "delete.mdb");
  ASSERT_TRUE(Database::Create(path));
  std::optional<Database> database = Database::Open(path, /*read_only=*/false);
  ASSERT_TRUE(database.has_value());
  constexpr int kRows = 450;
  for (int index = 1; index <= kRows; ++index) {
    ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", "s" + std::to_string(index)}}));
  }
  std::vector<Row> rows = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
  // Every third row, and a moved row.
  ASSERT_TRUE(database->UpdateRow("Server", rows[1].id, {{"备注", Text(250, 'm')}}));
  int deleted = 0;
  for (int index = 1; index < kRows; index += 3) {
    ASSERT_TRUE(database->DeleteRow("Server", rows[index].id)) << index;
    ++deleted;
  }
  EXPECT_FALSE(database->DeleteRow("Server", rows[1].id));  // already gone

  const std::vector<Row> left = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(left.size(), static_cast<std::size_t>(kRows - deleted));
  for (const Row& row : left) {
    const int id = std::stoi(FieldToText(row.values[0]));
    EXPECT_NE((id - 2) % 3, 0) << id;
  }
  EXPECT_EQ(database->OpenTable("Server")->Definition().row_count,
            static_cast<std::uint32_t>(kRows - deleted));
  const CheckReport report = database->Check();
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());

  // New rows continue the numbering.
  std::int32_t next = 0;
  ASSERT_TRUE(database->InsertRow("Server", {{"服务器名", Text("after")}}, &next));
  EXPECT_EQ(next, kRows + 1);
  database.reset();

  const std::string native = directory.NativePath("delete.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), static_cast<std::size_t>(kRows - deleted + 2));
    EXPECT_EQ(csv->find("\"s2\""), std::string::npos);
    EXPECT_NE(csv->find("\"s3\""), std::string::npos);
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    EXPECT_EQ(json->find("\"s2\""), std::string::npos);
    EXPECT_EQ(testing::Occurrences(*json, "\"after\""), 1u);
  }
}

// The password a server had is gone from the file once the server is deleted or its password
// changed: the bytes of a deleted row (or of the place a moved row's data left) are zeros, in the
// same change. Searched for as Jet keeps short text (one byte a character) and as UTF-16.
TEST(JetWriteDelete, AGoneServersPasswordLeavesNoBytesInTheFile) {
  const Text secret = "Pw-Old-Secret-29";
  const auto holds = [](const Bytes& file, const Text& text) {
    Bytes wide;
    for (const char c : text) {
      wide.push_back(static_cast<std::uint8_t>(c));
      wide.push_back(0);
    }
    return std::search(file.begin(), file.end(), text.begin(), text.end()) != file.end() ||
           std::search(file.begin(), file.end(), wide.begin(), wide.end()) != file.end();
  };
  const auto row_of = [](Database& database) {
    for (const Row& row : database.OpenTable("Server")->ReadAll()) {
      if (FieldToText(row.values[1]) == "127.0.0.2") {
        return row.id;
      }
    }
    return RowId{};
  };
  struct Case {
    const char* name;
    std::function<bool(Database&)> change;
  };
  const std::vector<Case> cases = {
      {"deleted", [&](Database& db) { return db.DeleteRow("Server", row_of(db)); }},
      {"password changed in place",
       [&](Database& db) {
         return db.UpdateRow("Server", row_of(db), {{"密码", Text("short")}});
       }},
      {"moved by a longer remark, then deleted",
       [&](Database& db) {
         return db.UpdateRow("Server", row_of(db), {{"备注", Text(250, 'r')}}) &&
                db.DeleteRow("Server", row_of(db));
       }},
      {"moved, then its password changed",
       [&](Database& db) {
         return db.UpdateRow("Server", row_of(db), {{"备注", Text(250, 'r')}}) &&
                db.UpdateRow("Server", row_of(db), {{"密码", Text(200, 'n')}});
       }},
      {"every row deleted at once", [&](Database& db) { return db.DeleteAllRows("Server"); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    testing_support::TempDirectory directory;
    const Text path = FileIn(directory, "mstsc.mdb");
    ASSERT_TRUE(Database::Create(path));
    {
      std::optional<Database> database = Database::Open(path, false);
      ASSERT_TRUE(database.has_value());
      for (const char* name : {"127.0.0.1", "127.0.0.2", "127.0.0.3"}) {
        ASSERT_TRUE(database->InsertRow(
            "Server",
            {{"服务器名", Text(name)}, {"密码", name == Text("127.0.0.2") ? secret : "x"}}));
      }
      ASSERT_TRUE(holds(testing::ReadWholeFile(path), secret));
      ASSERT_TRUE(test.change(*database));
      EXPECT_TRUE(database->Check().Ok());
    }
    EXPECT_FALSE(holds(testing::ReadWholeFile(path), secret));
    EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
  }
}

}  // namespace
}  // namespace lumora::jet
