#include "services/record_set.h"

#include <gtest/gtest.h>

#include "services/db_test_support.h"

namespace lumora::services {
namespace {

using testing::CallLog;
using testing::LongColumn;
using testing::RecordingEngine;
using testing::TextColumn;

// The calls the layer makes on an engine.
class RecordSetCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::unique_ptr<DatabaseEngine>> engines;
    engines.push_back(std::make_unique<RecordingEngine>("engine", true, log_));
    connection_ = std::make_unique<DBConnection>(std::move(engines));
    ASSERT_TRUE(connection_->OpenAccess("a.mdb", ""));
    ASSERT_TRUE(records_.SetConnection(*connection_));
    log_->clear();
  }

  CallLog log_ = std::make_shared<std::vector<std::string>>();
  std::unique_ptr<DBConnection> connection_;
  RecordSet records_;
};

TEST_F(RecordSetCallsTest, OpenWhereOpensTheSelectTextWithThePiecesPutIn) {
  const Text condition = Text("服务器名='") + "a" + "'";
  ASSERT_TRUE(records_.OpenWhere("Server", condition));
  EXPECT_EQ(log_->back(), "open select * from Server where 服务器名='a' kind 1 cursor 3");
  EXPECT_EQ(records_.TableName(), "Server");
}

TEST_F(RecordSetCallsTest, OpenWhereAddsNoQuoting) {
  ASSERT_TRUE(records_.OpenWhere("Server", "x' or '1'='1"));
  EXPECT_EQ(log_->back(), "open select * from Server where x' or '1'='1 kind 1 cursor 3");
}

TEST_F(RecordSetCallsTest, EachOpenClosesFirst) {
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  EXPECT_EQ(*log_, std::vector<std::string>({"engine recordset", "close",
                                             "open Server kind 2 cursor untouched", "close",
                                             "open Server kind 2 cursor untouched"}));
}

TEST_F(RecordSetCallsTest, TableOpenRemembersTheTableAndLeavesTheCursorAlone) {
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable, 2));
  EXPECT_EQ(log_->back(), "open Server kind 2 cursor untouched");
  EXPECT_EQ(records_.TableName(), "Server");
}

TEST_F(RecordSetCallsTest, TextOpenForgetsTheTableAndUsesTheClientCursorByDefault) {
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_TRUE(records_.Open("select * from Server", RecordSet::kSourceText));
  EXPECT_EQ(log_->back(), "open select * from Server kind 1 cursor 3");
  EXPECT_EQ(records_.TableName(), "");
  ASSERT_TRUE(records_.Open("select * from Server", RecordSet::kSourceText, 2));
  EXPECT_EQ(log_->back(), "open select * from Server kind 1 cursor 2");
}

TEST_F(RecordSetCallsTest, CursorLocationOutsideOneToThreeFailsWithoutTouchingAnything) {
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  log_->clear();
  EXPECT_FALSE(records_.Open("select * from Other", RecordSet::kSourceText, 4));
  EXPECT_FALSE(records_.Open("select * from Other", RecordSet::kSourceText, 0));
  EXPECT_TRUE(log_->empty());
  EXPECT_EQ(records_.TableName(), "Server");
}

TEST_F(RecordSetCallsTest, EmptyTextIsWrittenAsNull) {
  ASSERT_TRUE(records_.Open("Server", RecordSet::kSourceTable));
  ASSERT_TRUE(records_.AddNew());
  ASSERT_TRUE(records_.SetFieldText("域", ""));
  ASSERT_TRUE(records_.SetFieldText("备注", "x"));
  EXPECT_EQ((*log_)[log_->size() - 2], "set 域 Null");
  EXPECT_EQ(log_->back(), "set 备注 'x'");
}

TEST(RecordSetUnboundTest, EveryOperationFails) {
  RecordSet records;
  Text value = "left over";
  EXPECT_FALSE(records.Open("Server", RecordSet::kSourceTable));
  EXPECT_FALSE(records.OpenWhere("Server", "a=1"));
  EXPECT_FALSE(records.GetFieldText("a", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(records.AddNew());
  EXPECT_FALSE(records.SetFieldText("a", "b"));
  EXPECT_FALSE(records.MoveNext());
  EXPECT_EQ(records.RecordCount(), 0);
}

TEST(RecordSetUnopenedConnectionTest, OpenFails) {
  std::vector<std::unique_ptr<DatabaseEngine>> engines;
  engines.push_back(testing::MemoryEngine(std::make_shared<sql::MemoryTableStore>()));
  DBConnection connection(std::move(engines));
  RecordSet records;
  ASSERT_TRUE(records.SetConnection(connection));
  EXPECT_FALSE(records.Open("Server", RecordSet::kSourceTable));
}

// The layer over the built-in engine, with tables in memory.
class RecordSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        store_->AddTable("T", {LongColumn("id", true), TextColumn("name"), TextColumn("note")}));
    connection_ = testing::OpenMemoryConnection(store_);
    ASSERT_TRUE(records_.SetConnection(*connection_));
  }

  void AddRow(const Text& name, const Text& note) {
    ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
    ASSERT_TRUE(records_.AddNew());
    ASSERT_TRUE(records_.SetFieldText("name", name));
    ASSERT_TRUE(records_.SetFieldText("note", note));
  }

  Text Read(const Text& field) {
    Text value;
    records_.GetFieldText(field, value);
    return value;
  }

  std::shared_ptr<sql::MemoryTableStore> store_ = std::make_shared<sql::MemoryTableStore>();
  std::unique_ptr<DBConnection> connection_;
  RecordSet records_;
};

TEST_F(RecordSetTest, AddedRowIsStoredByTheNextOpen) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("name"), "alpha");
  EXPECT_EQ(Read("note"), "first");
  EXPECT_EQ(Read("id"), "1");
}

TEST_F(RecordSetTest, GetFieldTextAfterNoMatchIsFalseAndEmpty) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.OpenWhere("T", "name='beta'"));
  EXPECT_EQ(records_.RecordCount(), 0);
  Text value = "left over";
  EXPECT_FALSE(records_.GetFieldText("name", value));
  EXPECT_EQ(value, "");
}

TEST_F(RecordSetTest, EmptyTextIsStoredAsNullAndReadsBackEmpty) {
  AddRow("alpha", "");
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  // Null, not the empty text: an IS NULL condition finds the row.
  ASSERT_TRUE(records_.OpenWhere("T", "note is null"));
  ASSERT_EQ(records_.RecordCount(), 1);
  Text value = "left over";
  EXPECT_TRUE(records_.GetFieldText("note", value));
  EXPECT_EQ(value, "");
}

TEST_F(RecordSetTest, ReopeningReplacesTheResult) {
  AddRow("alpha", "first");
  AddRow("beta", "second");
  ASSERT_TRUE(records_.OpenWhere("T", "name='alpha'"));
  EXPECT_EQ(Read("name"), "alpha");
  ASSERT_TRUE(records_.OpenWhere("T", "name='beta'"));
  ASSERT_EQ(records_.RecordCount(), 1);
  EXPECT_EQ(Read("name"), "beta");
  ASSERT_TRUE(records_.OpenWhere("T", "name='gamma'"));
  EXPECT_EQ(Read("name"), "");
}

TEST_F(RecordSetTest, FailedOpenLeavesNothingToRead) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  EXPECT_FALSE(records_.Open("NoSuchTable", RecordSet::kSourceTable));
  EXPECT_FALSE(records_.IsOpen());
  Text value;
  EXPECT_FALSE(records_.GetFieldText("name", value));
  EXPECT_EQ(records_.RecordCount(), 0);
}

TEST_F(RecordSetTest, MoveNextWalksToTheEndAndNoFurther) {
  AddRow("alpha", "first");
  AddRow("beta", "second");
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  ASSERT_EQ(records_.RecordCount(), 2);
  EXPECT_EQ(Read("name"), "alpha");
  EXPECT_TRUE(records_.MoveNext());
  EXPECT_EQ(Read("name"), "beta");
  EXPECT_TRUE(records_.MoveNext());
  Text value;
  EXPECT_FALSE(records_.GetFieldText("name", value));
  EXPECT_FALSE(records_.MoveNext());
}

TEST_F(RecordSetTest, MissingFieldIsFalse) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  Text value = "left over";
  EXPECT_FALSE(records_.GetFieldText("nosuchfield", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(records_.SetFieldText("nosuchfield", "x"));
}

TEST_F(RecordSetTest, FieldNamesMatchWithoutRegardToCase) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.Open("t", RecordSet::kSourceTable));
  EXPECT_EQ(Read("NAME"), "alpha");
}

TEST_F(RecordSetTest, CounterCannotBeWritten) {
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  ASSERT_TRUE(records_.AddNew());
  EXPECT_FALSE(records_.SetFieldText("id", "7"));
}

TEST_F(RecordSetTest, TooLongTextIsRefused) {
  ASSERT_TRUE(records_.Open("T", RecordSet::kSourceTable));
  ASSERT_TRUE(records_.AddNew());
  EXPECT_FALSE(records_.SetFieldText("name", Text(51, 'x')));
  EXPECT_TRUE(records_.SetFieldText("name", Text(50, 'x')));
}

TEST_F(RecordSetTest, PendingRowReadsBackBeforeItIsStored) {
  AddRow("alpha", "first");
  EXPECT_EQ(Read("name"), "alpha");
  EXPECT_EQ(records_.RecordCount(), 1);
  EXPECT_TRUE(store_->ReadTable("T")->rows.empty());
}

TEST_F(RecordSetTest, EditedRowIsStoredWhenTheRecordSetMovesOn) {
  AddRow("alpha", "first");
  ASSERT_TRUE(records_.OpenWhere("T", "name='alpha'"));
  ASSERT_TRUE(records_.SetFieldText("note", "changed"));
  ASSERT_TRUE(records_.MoveNext());
  ASSERT_TRUE(records_.OpenWhere("T", "name='alpha'"));
  EXPECT_EQ(Read("note"), "changed");
}

TEST_F(RecordSetTest, UpdateOpenedAsTextGivesWhetherItRan) {
  AddRow("alpha", "first");
  EXPECT_TRUE(records_.Open("update T set note='x' where id=1", RecordSet::kSourceText));
  EXPECT_FALSE(records_.IsOpen());
  EXPECT_FALSE(records_.Open("update T set nosuch='x' where id=1", RecordSet::kSourceText));
  ASSERT_TRUE(records_.OpenWhere("T", "id=1"));
  EXPECT_EQ(Read("note"), "x");
}

TEST_F(RecordSetTest, ReopenedConnectionGivesAFreshRecordSet) {
  ASSERT_TRUE(store_->InsertRow("T", {{"name", Text("alpha")}}, nullptr));
  auto other = std::make_shared<sql::MemoryTableStore>();
  ASSERT_TRUE(other->AddTable("T", {TextColumn("name")}));
  std::vector<std::unique_ptr<DatabaseEngine>> engines;
  // Both opens go to the same engine object: the second one switches to `other`.
  int opens = 0;
  engines.push_back(std::make_unique<sql::StoreEngine>(
      [&, first = store_](const ConnectionRequest&) -> std::shared_ptr<sql::TableStore> {
        return opens++ == 0 ? std::shared_ptr<sql::TableStore>(first) : other;
      }));
  DBConnection connection(std::move(engines));
  RecordSet records;
  ASSERT_TRUE(records.SetConnection(connection));
  ASSERT_TRUE(connection.OpenAccess("a.mdb", ""));
  ASSERT_TRUE(records.Open("T", RecordSet::kSourceTable));
  EXPECT_EQ(records.RecordCount(), 1);
  ASSERT_TRUE(connection.OpenAccess("b.mdb", ""));
  ASSERT_TRUE(records.Open("T", RecordSet::kSourceTable));
  EXPECT_EQ(records.RecordCount(), 0);
}

}  // namespace
}  // namespace lumora::services
