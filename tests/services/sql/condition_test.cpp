// Jet's comparison rules as the built-in engine applies them to one row.
#include "services/sql/condition.h"

#include <gtest/gtest.h>

#include "services/sql/parser.h"
#include "services/sql/text_compare.h"

namespace lumora::services::sql {
namespace {

const std::vector<ColumnInfo> kColumns = {{"name", ColumnKind::kText},
                                          {"port", ColumnKind::kText},
                                          {"id", ColumnKind::kNumber},
                                          {"flag", ColumnKind::kNumber},
                                          {"stamp", ColumnKind::kOther}};

// The row: name, port, id, flag, stamp.
std::vector<values::Value> Row(values::Value name, values::Value port = std::monostate{},
                               values::Value id = std::int32_t{7}) {
  return {std::move(name), std::move(port), std::move(id), true, values::DateTime{1.0}};
}

std::vector<values::Value> Row(const char16_t* name) {
  return Row(values::Value(std::u16string(name)));
}

// Parses `where`, binds it and evaluates it on `row`; empty when any step fails.
std::optional<Truth> Eval(const std::string& where, const std::vector<values::Value>& row) {
  std::optional<Statement> statement = ParseStatement("select * from t where " + where);
  if (!statement) {
    ADD_FAILURE() << "does not parse: " << where;
    return std::nullopt;
  }
  Condition condition = *std::get<SelectStatement>(*statement).where;
  if (!BindCondition(condition, kColumns)) {
    return std::nullopt;
  }
  return Evaluate(condition, row);
}

bool Bindable(const std::string& where) {
  std::optional<Statement> statement = ParseStatement("select * from t where " + where);
  if (!statement) {
    return false;
  }
  Condition condition = *std::get<SelectStatement>(*statement).where;
  return BindCondition(condition, kColumns);
}

TEST(SqlTextCompareTest, LetterCaseDoesNotCount) {
  EXPECT_TRUE(SameText(u"Server-01", u"sERVER-01"));
  EXPECT_TRUE(SameText(u"ｌｕｍｏｒａ", u"ＬＵＭＯＲＡ"));
  EXPECT_TRUE(SameText(u"\u00E9lan", u"\u00C9LAN"));
}

TEST(SqlTextCompareTest, TrailingBlanksDoNotCount) {
  EXPECT_TRUE(SameText(u"abc   ", u"abc"));
  EXPECT_FALSE(SameText(u" abc", u"abc"));
  EXPECT_FALSE(SameText(u"a bc", u"abc"));
}

TEST(SqlTextCompareTest, AccentsCount) {
  EXPECT_FALSE(SameText(u"elan", u"\u00E9lan"));
  EXPECT_FALSE(SameText(u"a", u"\u00E1"));
}

TEST(SqlTextCompareTest, OrderOfLettersAndDigits) {
  EXPECT_EQ(CompareTextOrder(u"abc", u"ABD"), -1);
  EXPECT_EQ(CompareTextOrder(u"b", u"A"), 1);
  EXPECT_EQ(CompareTextOrder(u"ab ", u"AB"), 0);
  EXPECT_EQ(CompareTextOrder(u"ab", u"abc"), -1);
  EXPECT_EQ(CompareTextOrder(u"9", u"a"), -1);
}

TEST(SqlTextCompareTest, OrderOfOtherCharactersIsNotGuessed) {
  EXPECT_FALSE(CompareTextOrder(u"a_b", u"ab").has_value());
  EXPECT_FALSE(CompareTextOrder(u"主机", u"ab").has_value());
}

TEST(SqlConditionTest, TextEqualityFollowsJet) {
  EXPECT_EQ(Eval("name='HOST-1'", Row(u"host-1")), Truth::kTrue);
  EXPECT_EQ(Eval("name='host-1'", Row(u"host-1  ")), Truth::kTrue);
  EXPECT_EQ(Eval("name='host-2'", Row(u"host-1")), Truth::kFalse);
  EXPECT_EQ(Eval("name<>'HOST-1'", Row(u"host-1")), Truth::kFalse);
}

TEST(SqlConditionTest, ChineseTextMatchesExactly) {
  EXPECT_EQ(Eval("name='主机甲'", Row(u"主机甲")), Truth::kTrue);
  EXPECT_EQ(Eval("name='主机乙'", Row(u"主机甲")), Truth::kFalse);
}

TEST(SqlConditionTest, QuoteInsideALiteral) {
  EXPECT_EQ(Eval("name='o''brien'", Row(u"O'Brien")), Truth::kTrue);
  EXPECT_EQ(Eval("name='x'' or ''1''=''1'", Row(u"host")), Truth::kFalse);
}

TEST(SqlConditionTest, NullEqualsNothing) {
  EXPECT_EQ(Eval("name='x'", Row(std::monostate{})), Truth::kNull);
  EXPECT_EQ(Eval("name<>'x'", Row(std::monostate{})), Truth::kNull);
  EXPECT_EQ(Eval("name=null", Row(u"x")), Truth::kNull);
  EXPECT_EQ(Eval("name=port", Row(values::Value(), values::Value())), Truth::kNull);
  EXPECT_EQ(Eval("not name='x'", Row(std::monostate{})), Truth::kNull);
}

TEST(SqlConditionTest, IsNull) {
  EXPECT_EQ(Eval("port is null", Row(u"x")), Truth::kTrue);
  EXPECT_EQ(Eval("name is null", Row(u"x")), Truth::kFalse);
  EXPECT_EQ(Eval("name is not null", Row(u"")), Truth::kTrue);
  EXPECT_EQ(Eval("stamp is not null", Row(u"x")), Truth::kTrue);
}

TEST(SqlConditionTest, ThreeValuedAndOr) {
  // port is Null: its comparison is Null; False decides AND, True decides OR.
  EXPECT_EQ(Eval("port='1' and name='x'", Row(u"y")), Truth::kFalse);
  EXPECT_EQ(Eval("port='1' and name='y'", Row(u"y")), Truth::kNull);
  EXPECT_EQ(Eval("port='1' or name='y'", Row(u"y")), Truth::kTrue);
  EXPECT_EQ(Eval("port='1' or name='x'", Row(u"y")), Truth::kNull);
}

TEST(SqlConditionTest, AndBeforeOrAndParentheses) {
  // a or (b and c) versus (a or b) and c, with a true, b anything, c false.
  EXPECT_EQ(Eval("name='y' or id=1 and id=2", Row(u"y")), Truth::kTrue);
  EXPECT_EQ(Eval("(name='y' or id=1) and id=2", Row(u"y")), Truth::kFalse);
  EXPECT_EQ(Eval("not (name='y' and id=7)", Row(u"y")), Truth::kFalse);
}

TEST(SqlConditionTest, NumbersCompareAsNumbers) {
  EXPECT_EQ(Eval("id=7", Row(u"x")), Truth::kTrue);
  EXPECT_EQ(Eval("id=7.0", Row(u"x")), Truth::kTrue);
  EXPECT_EQ(Eval("id>10", Row(u"x")), Truth::kFalse);
  EXPECT_EQ(Eval("id>=7 and id<=7 and id<8 and id<>6", Row(u"x")), Truth::kTrue);
  EXPECT_EQ(Eval("flag=-1", Row(u"x")), Truth::kTrue);
}

TEST(SqlConditionTest, TextOrderWhereKnown) {
  EXPECT_EQ(Eval("name<'b'", Row(u"A")), Truth::kTrue);
  EXPECT_EQ(Eval("name>='a'", Row(u"A")), Truth::kTrue);
  EXPECT_FALSE(Eval("name<'b'", Row(u"主机")).has_value());
}

TEST(SqlConditionTest, MismatchedKindsAndUnknownColumnsAreRefused) {
  EXPECT_FALSE(Bindable("id='7'"));
  EXPECT_FALSE(Bindable("name=7"));
  EXPECT_FALSE(Bindable("nosuch='x'"));
  EXPECT_FALSE(Bindable("stamp=1"));
  EXPECT_TRUE(Bindable("NAME='x'"));
  EXPECT_TRUE(Bindable("'1'='1'"));
}

}  // namespace
}  // namespace lumora::services::sql
