// Row bytes built by hand in the documented layout, decoded against a table definition like
// the program's server table.
#include "services/jet/row_decoder.h"

#include <gtest/gtest.h>

#include "services/jet/long_value.h"
#include "services/jet/table_reader.h"
#include "services/values/field_text.h"

namespace lumora::jet {
namespace {

Column MakeColumn(std::u16string name, ColumnType type, std::uint16_t number, std::uint8_t flags,
                  std::uint16_t length) {
  Column column;
  column.name = std::move(name);
  column.type = type;
  column.number = number;
  column.flags = flags;
  column.length = length;
  return column;
}

// 编号 (AutoNumber Long), then text columns; the last one is a Memo, one is a Boolean.
TableDefinition ServerLikeTable() {
  TableDefinition table;
  table.columns.push_back(
      MakeColumn(u"编号", ColumnType::kLong, 0, kColumnFixed | kColumnAutoNumber, 4));
  Column name = MakeColumn(u"服务器名", ColumnType::kText, 1, kColumnNullable, 510);
  name.var_index = 0;
  Column port = MakeColumn(u"端口", ColumnType::kText, 2, kColumnNullable, 510);
  port.var_index = 1;
  Column note = MakeColumn(u"备注", ColumnType::kMemo, 3, kColumnNullable, 0);
  note.var_index = 2;
  Column flag = MakeColumn(u"标记", ColumnType::kBoolean, 4, kColumnFixed, 0);
  table.columns = {table.columns[0], name, port, note, flag};
  table.var_column_count = 3;
  return table;
}

void Put16(Bytes& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutText(Bytes& bytes, std::u16string_view text) {
  for (const char16_t c : text) {
    Put16(bytes, c);
  }
}

// Builds: column count, Long, var data, EOD, offsets (last first), count, null mask.
Bytes ServerRow(std::int32_t id, std::u16string_view server, bool port_null,
                std::u16string_view memo, bool flag) {
  Bytes row;
  Put16(row, 5);
  for (int index = 0; index < 4; ++index) {
    row.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(id) >> (8 * index)));
  }
  std::vector<std::uint16_t> offsets;
  offsets.push_back(static_cast<std::uint16_t>(row.size()));
  PutText(row, server);
  offsets.push_back(static_cast<std::uint16_t>(row.size()));
  offsets.push_back(static_cast<std::uint16_t>(row.size()));
  // Inline memo: length with the inline flag, 8 unused bytes, then the text.
  const std::uint32_t memo_bytes = static_cast<std::uint32_t>(memo.size() * 2);
  const std::uint32_t header = memo_bytes | 0x80000000u;
  for (int index = 0; index < 4; ++index) {
    row.push_back(static_cast<std::uint8_t>(header >> (8 * index)));
  }
  row.insert(row.end(), 8, 0);
  PutText(row, memo);
  offsets.push_back(static_cast<std::uint16_t>(row.size()));  // end of data
  for (std::size_t index = offsets.size(); index-- > 0;) {
    Put16(row, offsets[index]);
  }
  Put16(row, 3);
  std::uint8_t mask = 0x01 | 0x02 | 0x08;
  if (!port_null) {
    mask |= 0x04;
  }
  if (flag) {
    mask |= 0x10;
  }
  row.push_back(mask);
  return row;
}

const Pager& NoPages() {
  static const Pager pager(std::shared_ptr<const PageSource>(MemorySource({})), 4096, 0);
  return pager;
}

TEST(JetRowDecoder, DecodesFixedVariableNullBooleanAndInlineMemo) {
  const TableDefinition table = ServerLikeTable();
  const Bytes row = ServerRow(42, u"主服务器", true, u"备注文字", true);
  const std::optional<std::vector<Value>> values = DecodeRow(NoPages(), table, row);
  ASSERT_TRUE(values.has_value());
  ASSERT_EQ(values->size(), 5u);
  EXPECT_EQ(std::get<std::int32_t>((*values)[0]), 42);
  EXPECT_EQ(std::get<std::u16string>((*values)[1]), u"主服务器");
  EXPECT_TRUE(IsNull((*values)[2]));
  EXPECT_EQ(std::get<std::u16string>((*values)[3]), u"备注文字");
  EXPECT_EQ(std::get<bool>((*values)[4]), true);
  EXPECT_EQ(FieldToText((*values)[1]), "主服务器");
  EXPECT_EQ(FieldToText((*values)[2]), "");
}

TEST(JetRowDecoder, ColumnsAddedAfterTheRowWasWrittenAreNull) {
  TableDefinition table = ServerLikeTable();
  Column added = MakeColumn(u"域", ColumnType::kText, 9, kColumnNullable, 510);
  added.var_index = 3;
  table.columns.push_back(added);
  const std::optional<std::vector<Value>> values =
      DecodeRow(NoPages(), table, ServerRow(1, u"a", false, u"", false));
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ(std::get<std::u16string>((*values)[2]), u"");
  EXPECT_EQ(std::get<bool>((*values)[4]), false);
  EXPECT_TRUE(IsNull((*values)[5]));
}

TEST(JetRowDecoder, InconsistentRowsAreRejectedAndBadFieldsReadAsNull) {
  const TableDefinition table = ServerLikeTable();
  EXPECT_FALSE(DecodeRow(NoPages(), table, Bytes{}).has_value());
  EXPECT_FALSE(DecodeRow(NoPages(), table, Bytes{5}).has_value());
  // A column count whose null mask does not fit.
  EXPECT_FALSE(DecodeRow(NoPages(), table, Bytes{0xFF, 0xFF, 0, 0}).has_value());
  Bytes row = ServerRow(7, u"x", false, u"y", false);
  // A variable offset pointing past the offset table.
  row[row.size() - 4] = 0xFF;
  row[row.size() - 3] = 0x0F;
  EXPECT_FALSE(DecodeRow(NoPages(), table, row).has_value());
  // A memo that claims more inline bytes than there are.
  Bytes memo(12, 0);
  memo[0] = 100;
  memo[3] = 0x80;
  EXPECT_FALSE(ReadLongValue(NoPages(), memo).has_value());
  EXPECT_TRUE(IsNull(DecodeField(NoPages(), table.columns[3], memo)));
  // A memo on a page that does not exist.
  Bytes remote(12, 0);
  remote[0] = 10;
  remote[3] = 0x40;
  remote[5] = 7;
  EXPECT_FALSE(ReadLongValue(NoPages(), remote).has_value());
  // A fixed field cut short reads as Null.
  Column wide = MakeColumn(u"d", ColumnType::kDouble, 0, kColumnFixed, 8);
  EXPECT_TRUE(IsNull(DecodeField(NoPages(), wide, Bytes{1, 2, 3})));
}

TEST(JetTableReader, FindsChineseColumnNames) {
  const TableReader table(
      std::make_shared<const Pager>(std::shared_ptr<const PageSource>(MemorySource({})), 4096, 0),
      ServerLikeTable());
  EXPECT_EQ(table.FindColumn("编号"), std::optional<std::size_t>(0));
  EXPECT_EQ(table.FindColumn("备注"), std::optional<std::size_t>(3));
  EXPECT_FALSE(table.FindColumn("密码").has_value());
  EXPECT_EQ(table.ColumnName(1), "服务器名");
  EXPECT_EQ(table.ColumnName(99), "");
  // No pages behind it: no rows.
  EXPECT_TRUE(table.ReadAll().empty());
}

}  // namespace
}  // namespace lumora::jet
