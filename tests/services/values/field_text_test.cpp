// Value-to-text rules, OLE dates and name matching: the value model the database layer shares.
#include "services/values/field_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "services/values/name_compare.h"
#include "services/values/ole_date.h"

namespace lumora::values {
namespace {

TEST(FieldText, FollowsTheValueToTextTable) {
  EXPECT_EQ(FieldToText(std::monostate{}), "");
  EXPECT_EQ(FieldToText(true), "TRUE");
  EXPECT_EQ(FieldToText(false), "FALSE");
  EXPECT_EQ(FieldToText(std::uint8_t{255}), "255");
  EXPECT_EQ(FieldToText(std::int16_t{-32768}), "-32768");
  EXPECT_EQ(FieldToText(std::int32_t{-2147483647 - 1}), "-2147483648");
  EXPECT_EQ(FieldToText(1.5f), "1.5000");
  EXPECT_EQ(FieldToText(444.555), "444.55500000");
  EXPECT_EQ(FieldToText(-0.125), "-0.12500000");
  EXPECT_EQ(FieldToText(Currency{35000}), "3.5");
  EXPECT_EQ(FieldToText(Currency{-12345}), "-1.2345");
  EXPECT_EQ(FieldToText(Currency{0}), "0");
  EXPECT_EQ(FieldToText(Currency{std::numeric_limits<std::int64_t>::min()}),
            "-922337203685477.5808");
  EXPECT_EQ(FieldToText(DateTime{27293.0}), "1974-09-21 00:00:00");
  EXPECT_EQ(FieldToText(DateTime{0.5}), "1899-12-30 12:00:00");
  EXPECT_EQ(FieldToText(DateTime{-1.25}), "1899-12-29 06:00:00");
  EXPECT_EQ(FieldToText(std::u16string(u"服务器")), "服务器");
  EXPECT_EQ(FieldToText(Blob{{1, 2, 3}}), "[BLOB]");
  EXPECT_EQ(FieldToText(Blob{}), "[BLOB]");
  Guid guid;
  for (std::size_t index = 0; index < guid.bytes.size(); ++index) {
    guid.bytes[index] = static_cast<std::uint8_t>(index * 0x11);
  }
  EXPECT_EQ(FieldToText(guid), "{33221100-5544-7766-8899-AABBCCDDEEFF}");
  Decimal decimal;
  decimal.scale = 2;
  decimal.low = 12345;
  decimal.negative = true;
  EXPECT_EQ(FieldToText(decimal), "-123.45000000");
  // Very large doubles are spelled out in full.
  EXPECT_GT(FieldToText(std::numeric_limits<double>::max()).size(), 300u);
}

TEST(OleDate, ConvertsAcrossTheEpochAndRounds) {
  const auto at = [](double days) { return OleDateToCivil(days).value_or(CivilTime{}); };
  EXPECT_EQ(at(0).year, 1899);
  EXPECT_EQ(at(2).day, 1);
  EXPECT_EQ(at(2).month, 1);
  EXPECT_EQ(at(2).year, 1900);
  EXPECT_EQ(at(36526).year, 2000);    // 2000-01-01
  EXPECT_EQ(at(36526 + 59).day, 29);  // 2000-02-29
  EXPECT_EQ(at(36526 + 59).month, 2);
  // 23:59:59.9 rounds into the next day.
  const CivilTime late = at(36526 + 0.99999999);
  EXPECT_EQ(late.day, 2);
  EXPECT_EQ(late.hour, 0);
  EXPECT_EQ(at(1.0 / 86400 * 3661).minute, 1);
  EXPECT_EQ(at(1.0 / 86400 * 3661).second, 1);
  EXPECT_FALSE(OleDateToCivil(std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_FALSE(OleDateToCivil(1e300).has_value());
  EXPECT_FALSE(OleDateToCivil(-1e9).has_value());
  EXPECT_EQ(at(2958465.0).year, 9999);
}

TEST(NameCompare, IgnoresLetterCaseOnly) {
  EXPECT_TRUE(SameName(u"MSysObjects", u"msysOBJECTS"));
  EXPECT_TRUE(SameName(u"编号", u"编号"));
  EXPECT_FALSE(SameName(u"编号", u"端口"));
  EXPECT_FALSE(SameName(u"ID", u"IDs"));
  EXPECT_TRUE(SameName(u"\u00e4", u"\u00c4"));
  EXPECT_TRUE(SameName(u"\u043c\u0438\u0440", u"\u041c\u0418\u0420"));
  EXPECT_FALSE(SameName(u"e", u"\u00e9"));
}

}  // namespace
}  // namespace lumora::values
