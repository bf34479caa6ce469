// The database layer over the built-in engine and real Access files: genuine fixtures for the
// reading side, catalogues made by jet::Database::Create for the writing side.
#include "services/jet_engine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/record_set.h"
#include "support/temp_directory.h"

namespace lumora::services {
namespace {

using jet::testing::CopyFixture;
using jet::testing::FileIn;

std::unique_ptr<DBConnection> BuiltInConnection() {
  std::vector<std::unique_ptr<DatabaseEngine>> engines;
  engines.push_back(MakeJetEngine());
  return std::make_unique<DBConnection>(std::move(engines));
}

class DbJetEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_ = BuiltInConnection();
    ASSERT_TRUE(records_.SetConnection(*connection_));
  }

  Text Read(const Text& field) {
    Text value;
    EXPECT_TRUE(records_.GetFieldText(field, value)) << field;
    return value;
  }

  testing_support::TempDirectory directory_;
  std::unique_ptr<DBConnection> connection_;
  RecordSet records_;
};

TEST_F(DbJetEngineTest, MissingFileDoesNotOpen) {
  EXPECT_FALSE(connection_->OpenAccess(FileIn(directory_, "missing.mdb"), ""));
  EXPECT_FALSE(records_.Open("Server", RecordSet::kSourceTable));
}

TEST_F(DbJetEngineTest, FileThatIsNoDatabaseDoesNotOpen) {
  std::ofstream(directory_.NativePath("mstsc.mdb")) << "catalogue";
  EXPECT_FALSE(connection_->OpenAccess(FileIn(directory_, "mstsc.mdb"), ""));
}

TEST_F(DbJetEngineTest, GenuineFileReadsEveryKindAsText) {
  const std::optional<Text> path = CopyFixture(directory_, "testRefGlobalV2000.mdb");
  if (!path) {
    GTEST_SKIP() << "genuine Access files are not available";
  }
  ASSERT_TRUE(connection_->OpenAccess(*path, ""));
  ASSERT_TRUE(records_.Open("Table1", RecordSet::kSourceTable));
  ASSERT_GE(records_.RecordCount(), 2);
  EXPECT_EQ(Read("A"), "abcdefg");
  EXPECT_EQ(Read("C"), "2");
  EXPECT_EQ(Read("E"), "333333333");
  EXPECT_EQ(Read("F"), "444.55500000");
  EXPECT_EQ(Read("G"), "1974-09-21 00:00:00");
  EXPECT_EQ(Read("H"), "3.5");
  EXPECT_EQ(Read("I"), "TRUE");
  ASSERT_TRUE(records_.MoveNext());
  EXPECT_EQ(Read("G"), "1981-12-12 00:00:00");
  EXPECT_EQ(Read("I"), "FALSE");
}

TEST_F(DbJetEngineTest, GenuineFileSelectsWithJetComparison) {
  const std::optional<Text> path = CopyFixture(directory_, "testRefGlobalV2000.mdb");
  if (!path) {
    GTEST_SKIP() << "genuine Access files are not available";
  }
  ASSERT_TRUE(connection_->OpenAccess(*path, ""));
  ASSERT_TRUE(records_.OpenWhere("Table1", "A='ABCDEFG' and I=-1"));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("B"), "hijklmnop");
  // A date is not compared: the statement fails instead of guessing.
  EXPECT_FALSE(records_.OpenWhere("Table1", "G=1"));
}

class DbJetCatalogueTest : public DbJetEngineTest {
 protected:
  void SetUp() override {
    DbJetEngineTest::SetUp();
    path_ = FileIn(directory_, "mstsc.mdb");
    ASSERT_TRUE(jet::Database::Create(path_));
    ASSERT_TRUE(connection_->OpenAccess(path_, ""));
  }

  void AddServer(const Text& name, const Text& domain) {
    ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
    ASSERT_TRUE(records_.AddNew());
    ASSERT_TRUE(records_.SetFieldText("服务器名", name));
    ASSERT_TRUE(records_.SetFieldText("端口", "3389"));
    ASSERT_TRUE(records_.SetFieldText("域", domain));
  }

  Text path_;
};

TEST_F(DbJetCatalogueTest, AddedRowIsInTheFileByTheNextOpen) {
  AddServer("10.0.0.1", "");
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("服务器名"), "10.0.0.1");
  EXPECT_EQ(Read("编号"), "1");
  EXPECT_EQ(Read("域"), "");

  // A reader of the file itself sees it too.
  const std::optional<jet::Database> database = jet::Database::Open(path_);
  ASSERT_TRUE(database.has_value());
  const std::vector<values::Row> rows = database->OpenTable("Server")->ReadAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(values::IsNull(rows[0].values[5]));  // 域: the empty text went in as Null
  EXPECT_TRUE(database->Check().Ok());
}

TEST_F(DbJetCatalogueTest, UpdateAndDeleteChangeTheFile) {
  AddServer("alpha", "");
  AddServer("beta", "corp");
  ASSERT_TRUE(records_.Open("update Server set 端口='3390', 域='home' where 编号=1",
                            RecordSet::kSourceText));
  ASSERT_TRUE(records_.OpenWhere("Server", "服务器名='ALPHA'"));
  EXPECT_EQ(Read("端口"), "3390");
  EXPECT_EQ(Read("域"), "home");

  ASSERT_TRUE(connection_->Execute("delete from Server where 服务器名='alpha'"));
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("服务器名"), "beta");
  EXPECT_EQ(Read("域"), "corp");
}

TEST_F(DbJetCatalogueTest, ReopeningTheSameFileKeepsItWritable) {
  AddServer("alpha", "");
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_TRUE(connection_->OpenAccess(path_, ""));
  AddServer("beta", "");
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  EXPECT_EQ(records_.RecordCount(), 2);
}

TEST_F(DbJetCatalogueTest, ClosedConnectionLeavesReadRowsReadableAndRefusesChanges) {
  AddServer("alpha", "");
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  EXPECT_FALSE(connection_->OpenAccess(FileIn(directory_, "missing.mdb"), ""));
  EXPECT_EQ(Read("服务器名"), "alpha");
  ASSERT_TRUE(records_.AddNew());
  EXPECT_FALSE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_TRUE(connection_->OpenAccess(path_, ""));
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  EXPECT_EQ(records_.RecordCount(), 1);
}

TEST_F(DbJetCatalogueTest, RefusedStatementsLeaveTheFileAlone) {
  AddServer("alpha", "");
  EXPECT_FALSE(records_.Open("update Server set 编号=5", RecordSet::kSourceText));
  EXPECT_FALSE(records_.Open("update Server set 端口='1' where 编号=", RecordSet::kSourceText));
  EXPECT_FALSE(connection_->Execute("delete from Server where 编号='1'"));
  EXPECT_FALSE(connection_->Execute("drop table Server"));
  ASSERT_TRUE(records_.OpenWhere("Server", "编号=1"));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("端口"), "3389");
}

}  // namespace
}  // namespace lumora::services
