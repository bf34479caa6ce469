// Statements run against tables in memory.
#include "services/sql/statement_runner.h"

#include <gtest/gtest.h>

#include "services/db_test_support.h"
#include "services/sql/literal.h"
#include "services/sql/parser.h"
#include "services/values/field_text.h"

namespace lumora::services::sql {
namespace {

using services::testing::LongColumn;
using services::testing::TextColumn;

class SqlStatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.AddTable(
        "Hosts", {LongColumn("id", true), TextColumn("name"), TextColumn("note", 5)}));
    for (const char* name : {"alpha", "Beta", "beta ", "o'brien"}) {
      ASSERT_TRUE(store_.InsertRow("Hosts", {{"name", Text(name)}}, nullptr));
    }
    ASSERT_TRUE(store_.InsertRow("Hosts", {{"name", std::nullopt}}, nullptr));
  }

  // The names of the rows a SELECT yields, "-" for Null; "failed" when it fails.
  std::string Names(const std::string& sql) {
    const std::optional<Statement> statement = ParseStatement(sql);
    if (!statement || !std::holds_alternative<SelectStatement>(*statement)) {
      return "failed";
    }
    const std::optional<StoredTable> result =
        RunSelect(store_, std::get<SelectStatement>(*statement));
    if (!result) {
      return "failed";
    }
    std::string names;
    for (const values::Row& row : result->rows) {
      names += (names.empty() ? "" : ",") +
               (values::IsNull(row.values[1]) ? "-" : values::FieldToText(row.values[1]));
    }
    return names;
  }

  MemoryTableStore store_;
};

TEST_F(SqlStatementTest, SelectAll) {
  EXPECT_EQ(Names("select * from Hosts"), "alpha,Beta,beta ,o'brien,-");
  EXPECT_EQ(Names("select * from hosts"), "alpha,Beta,beta ,o'brien,-");
}

TEST_F(SqlStatementTest, SelectWhereFollowsJetComparison) {
  EXPECT_EQ(Names("select * from Hosts where name='BETA'"), "Beta,beta ");
  EXPECT_EQ(Names("select * from Hosts where name='O''Brien'"), "o'brien");
  EXPECT_EQ(Names("select * from Hosts where name<>'alpha'"), "Beta,beta ,o'brien");
  EXPECT_EQ(Names("select * from Hosts where name is null"), "-");
  EXPECT_EQ(Names("select * from Hosts where id=1 or id=3 and name='x'"), "alpha");
  EXPECT_EQ(Names("select * from Hosts where (id=1 or id=3) and name='beta'"), "beta ");
}

TEST_F(SqlStatementTest, SelectFailsRatherThanGuess) {
  EXPECT_EQ(Names("select * from Nowhere"), "failed");
  EXPECT_EQ(Names("select * from Hosts where nosuch='x'"), "failed");
  EXPECT_EQ(Names("select * from Hosts where id='1'"), "failed");
  // The order of "'" against letters is not known to the engine.
  EXPECT_EQ(Names("select * from Hosts where name>'a'"), "failed");
}

TEST_F(SqlStatementTest, DeleteTakesEveryMatchingRow) {
  EXPECT_TRUE(RunStatement(store_, "delete from Hosts where name='beta'"));
  EXPECT_EQ(Names("select * from Hosts"), "alpha,o'brien,-");
}

TEST_F(SqlStatementTest, DeleteMatchingNothingSucceeds) {
  EXPECT_TRUE(RunStatement(store_, "delete from Hosts where name='gamma'"));
  EXPECT_EQ(Names("select * from Hosts"), "alpha,Beta,beta ,o'brien,-");
}

TEST_F(SqlStatementTest, EscapedInjectionDeletesNothingElse) {
  const Text name = "x' or '1'='1";
  // Built without escaping, the condition is true for every row.
  EXPECT_EQ(Names("select * from Hosts where name='" + name + "'"), "alpha,Beta,beta ,o'brien,-");
  EXPECT_TRUE(
      RunStatement(store_, "delete from Hosts where name='" + EscapeTextLiteral(name) + "'"));
  EXPECT_EQ(Names("select * from Hosts"), "alpha,Beta,beta ,o'brien,-");
}

TEST_F(SqlStatementTest, UpdateChangesMatchingRows) {
  EXPECT_TRUE(RunStatement(store_, "update Hosts set note='n', name='gamma' where id=2"));
  EXPECT_EQ(Names("select * from Hosts where note='n'"), "gamma");
  EXPECT_TRUE(RunStatement(store_, "update Hosts set note=null where id=2"));
  EXPECT_EQ(Names("select * from Hosts where note is null and id=2"), "gamma");
}

TEST_F(SqlStatementTest, RefusedUpdateChangesNothing) {
  // Too long for note (5 characters), a number into text, the counter, an unknown column.
  for (const char* sql :
       {"update Hosts set name='z', note='toolong'", "update Hosts set name='z', note=5",
        "update Hosts set id=9", "update Hosts set name='z', nosuch='x'",
        "update Hosts set name='z' where id="}) {
    EXPECT_FALSE(RunStatement(store_, sql)) << sql;
    EXPECT_EQ(Names("select * from Hosts"), "alpha,Beta,beta ,o'brien,-") << sql;
  }
}

TEST_F(SqlStatementTest, UnsupportedStatementsFail) {
  EXPECT_FALSE(RunStatement(store_, "insert into Hosts (name) values ('x')"));
  EXPECT_FALSE(RunStatement(store_, "drop table Hosts"));
  EXPECT_FALSE(RunStatement(store_, "delete from Hosts where name like 'a*'"));
  EXPECT_EQ(Names("select * from Hosts"), "alpha,Beta,beta ,o'brien,-");
}

TEST(SqlLiteralTest, DoublesEverySingleQuote) {
  EXPECT_EQ(EscapeTextLiteral("x' or '1'='1"), "x'' or ''1''=''1");
  EXPECT_EQ(EscapeTextLiteral("''"), "''''");
  EXPECT_EQ(EscapeTextLiteral("主机"), "主机");
  EXPECT_EQ(EscapeTextLiteral(""), "");
}

}  // namespace
}  // namespace lumora::services::sql
