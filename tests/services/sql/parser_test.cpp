#include "services/sql/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "services/sql/lexer.h"

namespace lumora::services::sql {
namespace {

TEST(SqlLexerTest, DoubledQuoteInLiteralStandsForOne) {
  const auto tokens = Tokenize("'it''s'");
  ASSERT_TRUE(tokens.has_value());
  ASSERT_EQ(tokens->size(), 1u);
  EXPECT_EQ((*tokens)[0], (Token{TokenKind::kText, "it's"}));
}

TEST(SqlLexerTest, UnclosedLiteralFails) {
  EXPECT_FALSE(Tokenize("name='abc").has_value());
  EXPECT_FALSE(Tokenize("name='abc''").has_value());
}

TEST(SqlLexerTest, ChineseNamesAndBracketedNames) {
  const auto tokens = Tokenize("服务器名='主机' and [备注]<>1");
  ASSERT_TRUE(tokens.has_value());
  ASSERT_EQ(tokens->size(), 7u);
  EXPECT_EQ((*tokens)[0], (Token{TokenKind::kName, "服务器名"}));
  EXPECT_EQ((*tokens)[2], (Token{TokenKind::kText, "主机"}));
  EXPECT_EQ((*tokens)[3], (Token{TokenKind::kKeyword, "AND"}));
  EXPECT_EQ((*tokens)[4], (Token{TokenKind::kName, "备注"}));
  EXPECT_EQ((*tokens)[5], (Token{TokenKind::kSymbol, "<>"}));
  EXPECT_EQ((*tokens)[6], (Token{TokenKind::kNumber, "1"}));
}

TEST(SqlLexerTest, BracketInsideADoubleByteCharacterDoesNotCloseTheName) {
  // "乚" is 81 5D in GBK: its second byte is the closing bracket's code.
  const auto tokens = Tokenize("[乚名]='x'");
  ASSERT_TRUE(tokens.has_value());
  ASSERT_EQ(tokens->size(), 3u);
  EXPECT_EQ((*tokens)[0], (Token{TokenKind::kName, "乚名"}));
}

TEST(SqlLexerTest, DoubleByteCharactersInsideLiterals) {
  const auto tokens = Tokenize("'乚'");
  ASSERT_TRUE(tokens.has_value());
  EXPECT_EQ((*tokens)[0], (Token{TokenKind::kText, "乚"}));
}

TEST(SqlLexerTest, StrayCharacterFails) {
  EXPECT_FALSE(Tokenize("a = 1 # comment").has_value());
  EXPECT_FALSE(Tokenize("a = 12abc").has_value());
}

TEST(SqlParserTest, SelectWithCondition) {
  const auto statement = ParseStatement("select * from Server where 服务器名='a'");
  ASSERT_TRUE(statement.has_value());
  const auto* select = std::get_if<SelectStatement>(&*statement);
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->table, "Server");
  ASSERT_TRUE(select->where.has_value());
  EXPECT_EQ(select->where->kind, Condition::Kind::kCompare);
  EXPECT_EQ(select->where->left.text, "服务器名");
  EXPECT_EQ(select->where->right.kind, Operand::Kind::kText);
  EXPECT_EQ(select->where->right.text, "a");
}

TEST(SqlParserTest, KeywordsIgnoreCaseAndATrailingSemicolonIsAllowed) {
  EXPECT_TRUE(ParseStatement("SELECT * FROM Server;").has_value());
  EXPECT_TRUE(ParseStatement("SeLeCt * fRoM Server WhErE a=1").has_value());
}

TEST(SqlParserTest, UpdateWithSeveralAssignments) {
  const auto statement =
      ParseStatement("update Server set 服务器名='a',端口='3389',域=null where 编号=12");
  ASSERT_TRUE(statement.has_value());
  const auto* update = std::get_if<UpdateStatement>(&*statement);
  ASSERT_NE(update, nullptr);
  ASSERT_EQ(update->assignments.size(), 3u);
  EXPECT_EQ(update->assignments[1].column, "端口");
  EXPECT_EQ(update->assignments[1].value.text, "3389");
  EXPECT_EQ(update->assignments[2].value.kind, Operand::Kind::kNull);
  ASSERT_TRUE(update->where.has_value());
  EXPECT_EQ(update->where->right.kind, Operand::Kind::kNumber);
  EXPECT_EQ(update->where->right.number, 12);
}

TEST(SqlParserTest, DeleteWithAndWithoutStar) {
  EXPECT_TRUE(std::holds_alternative<DeleteStatement>(
      *ParseStatement("delete from Server where 服务器名='a'")));
  EXPECT_TRUE(std::holds_alternative<DeleteStatement>(*ParseStatement("delete * from Server")));
}

TEST(SqlParserTest, AndBindsTighterThanOr) {
  const auto statement = ParseStatement("select * from t where a=1 or b=2 and c=3");
  ASSERT_TRUE(statement.has_value());
  const Condition& where = *std::get<SelectStatement>(*statement).where;
  ASSERT_EQ(where.kind, Condition::Kind::kOr);
  EXPECT_EQ(where.children[0].kind, Condition::Kind::kCompare);
  EXPECT_EQ(where.children[1].kind, Condition::Kind::kAnd);
}

TEST(SqlParserTest, ParenthesesGroup) {
  const auto statement = ParseStatement("select * from t where (a=1 or b=2) and not c=3");
  ASSERT_TRUE(statement.has_value());
  const Condition& where = *std::get<SelectStatement>(*statement).where;
  ASSERT_EQ(where.kind, Condition::Kind::kAnd);
  EXPECT_EQ(where.children[0].kind, Condition::Kind::kOr);
  EXPECT_EQ(where.children[1].kind, Condition::Kind::kNot);
}

TEST(SqlParserTest, IsNullAndIsNotNull) {
  const auto statement = ParseStatement("select * from t where a is null or b is not null");
  ASSERT_TRUE(statement.has_value());
  const Condition& where = *std::get<SelectStatement>(*statement).where;
  EXPECT_EQ(where.children[0].kind, Condition::Kind::kIsNull);
  EXPECT_EQ(where.children[1].kind, Condition::Kind::kIsNotNull);
}

TEST(SqlParserTest, NegativeNumber) {
  const auto statement = ParseStatement("select * from t where a > -1.5");
  ASSERT_TRUE(statement.has_value());
  EXPECT_EQ(std::get<SelectStatement>(*statement).where->right.number, -1.5);
}

TEST(SqlParserTest, UnsupportedStatementsFail) {
  for (const char* sql : {
           "",
           "select name from t",
           "select * from t order by a",
           "select * from t where",
           "select * from t where a",
           "select * from t where a=1 extra",
           "select * from t where (a=1",
           "select * from t where a like 'x*'",
           "select * from t where a in (1, 2)",
           "insert into t values (1)",
           "update t set a=b",
           "update t set a='1' where 编号=",
           "update t where a=1",
           "drop table t",
           "select * from t; delete from t",
       }) {
    EXPECT_FALSE(ParseStatement(sql).has_value()) << sql;
  }
}

TEST(SqlParserTest, OverlyNestedOrLongConditionsFailWithoutExhaustingTheStack) {
  const std::string deep = std::string(100000, '(') + "a=1" + std::string(100000, ')');
  EXPECT_FALSE(ParseStatement("select * from t where " + deep).has_value());
  std::string negations;
  for (int i = 0; i < 100000; ++i) {
    negations += "not ";
  }
  EXPECT_FALSE(ParseStatement("delete from t where " + negations + "a=1").has_value());
  std::string chain = "a=1";
  for (int i = 0; i < 300; ++i) {
    chain += " and a=1";
  }
  EXPECT_FALSE(ParseStatement("select * from t where " + chain).has_value());
  // The limit is never near what a statement of the program holds.
  EXPECT_TRUE(ParseStatement("select * from t where ((a=1 or not b=2) and c is null)").has_value());
}

}  // namespace
}  // namespace lumora::services::sql
