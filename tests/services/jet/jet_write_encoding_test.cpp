#include <gtest/gtest.h>

#include "services/jet/index_key.h"
#include "services/jet/index_page.h"
#include "services/jet/row_decoder.h"
#include "services/jet/row_encoder.h"
#include "services/jet/text_codec.h"

namespace lumora::jet {
namespace {

Column MakeColumn(ColumnType type, std::uint16_t number, std::uint8_t flags, std::uint16_t length) {
  Column column;
  column.type = type;
  column.number = number;
  column.flags = flags;
  column.length = length;
  column.sort_order = 1033;
  return column;
}

// AutoNumber ID and two text columns, the second allowing compression.
TableDefinition SmallTable() {
  TableDefinition table;
  table.page = 9;
  table.max_columns = 3;
  table.var_column_count = 2;
  table.columns.push_back(MakeColumn(ColumnType::kLong, 0, 0x07, 4));
  table.columns.push_back(MakeColumn(ColumnType::kText, 1, 0x02, 510));
  table.columns.push_back(MakeColumn(ColumnType::kText, 2, 0x02, 510));
  table.columns[1].var_index = 0;
  table.columns[2].var_index = 1;
  table.columns[2].extended_flags = kColumnCompressedUnicode;
  RealIndex key;
  key.columns.push_back(IndexColumn{0, true});
  key.flags = 0x89;
  table.real_indexes.push_back(key);
  return table;
}

const Pager& NoPages() {
  static const Pager pager(std::shared_ptr<const PageSource>(MemorySource({})), 4096, 0);
  return pager;
}

TEST(JetWriteEncoding, RowsRoundTripThroughTheDecoder) {
  const TableDefinition table = SmallTable();
  const std::u16string chinese = u"服务器";
  const std::vector<Value> values = {std::int32_t{42}, chinese, std::u16string(u"plain ascii")};
  const std::optional<Bytes> row = EncodeRow(table, values);
  ASSERT_TRUE(row.has_value());
  // 2 + 4 fixed, 6 UTF-16 bytes, 2 + 11 compressed, EOD + 2 offsets + count, 1 mask byte.
  EXPECT_EQ(row->size(), 2u + 4 + 6 + 13 + 2 + 4 + 2 + 1);
  EXPECT_EQ(row->back(), 0x07);
  const std::optional<std::vector<Value>> decoded = DecodeRow(NoPages(), table, *row);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, values);

  const std::optional<Bytes> padded = EncodeRow(table, values, row->size() + 20);
  ASSERT_TRUE(padded.has_value());
  EXPECT_EQ(padded->size(), row->size() + 20);
  EXPECT_EQ(DecodeRow(NoPages(), table, *padded), decoded);
}

TEST(JetWriteEncoding, NullsAndEmptyTextsDiffer) {
  const TableDefinition table = SmallTable();
  const std::vector<Value> values = {std::int32_t{1}, std::monostate{}, std::u16string()};
  const std::optional<Bytes> row = EncodeRow(table, values);
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->back(), 0x05);  // column 1 Null
  EXPECT_EQ(DecodeRow(NoPages(), table, *row), values);
}

TEST(JetWriteEncoding, UnsuitableValuesAreRefused) {
  const TableDefinition table = SmallTable();
  EXPECT_FALSE(EncodeRow(table, {std::int32_t{1}, std::u16string(256, u'x'), std::monostate{}}));
  EXPECT_FALSE(EncodeRow(table, {std::int16_t{1}, std::monostate{}, std::monostate{}}));
  EXPECT_FALSE(EncodeRow(table, {std::int32_t{1}}));
  const std::u16string marked =
      u"\xFEFF"
      u"x";
  EXPECT_FALSE(EncodeJetText(marked, false).has_value());
  EXPECT_EQ(DecodeJetText(*EncodeJetText(u"abc", true)), u"abc");
  EXPECT_EQ(EncodeJetText(u"abc", true)->size(), 5u);
  EXPECT_EQ(EncodeJetText(u"ab", true)->size(), 4u);
}

TEST(JetWriteEncoding, KeysMatchGenuineEntries) {
  const TableDefinition table = SmallTable();
  // ID 1 as a genuine file stores it: 7f 80 00 00 01.
  EXPECT_EQ(EncodeIndexKey(table, table.real_indexes[0],
                           {std::int32_t{1}, std::monostate{}, std::monostate{}}),
            (Bytes{0x7F, 0x80, 0x00, 0x00, 0x01}));
  EXPECT_EQ(EncodeIndexKey(table, table.real_indexes[0],
                           {std::int32_t{-1}, std::monostate{}, std::monostate{}}),
            (Bytes{0x7F, 0x7F, 0xFF, 0xFF, 0xFF}));
  RealIndex text;
  text.columns.push_back(IndexColumn{1, true});
  // "Admin" in the General order.
  EXPECT_EQ(
      EncodeIndexKey(table, text, {std::int32_t{1}, std::u16string(u"Admin  "), std::monostate{}}),
      (Bytes{0x7F, 0x4A, 0x4F, 0x60, 0x59, 0x62, 0x01, 0x00}));
  EXPECT_FALSE(
      EncodeIndexKey(table, text, {std::int32_t{1}, std::u16string(u"a b"), std::monostate{}}));
  TableDefinition finnish = table;
  finnish.columns[1].sort_order = 1035;
  EXPECT_FALSE(IndexKeysSupported(finnish, text));
}

TEST(JetWriteEncoding, IndexPagesRoundTripWithSharedPrefix) {
  IndexPage page;
  for (std::uint32_t id = 1; id <= 300; ++id) {
    const Bytes key = {0x7F, 0x80, 0x00, static_cast<std::uint8_t>(id >> 8),
                       static_cast<std::uint8_t>(id)};
    page.entries.push_back(LeafEntry(key, RowId{20 + id / 100, static_cast<std::uint8_t>(id)}));
  }
  page.next = 77;
  const Bytes bytes = SerializeIndexPage(page, 9, 4096);
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[24], 3);  // 7f 80 00 shared
  const std::optional<IndexPage> parsed = ParseIndexPage(bytes);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->entries, page.entries);
  EXPECT_EQ(parsed->next, 77u);
  EXPECT_EQ(LeafEntryRow(parsed->entries[299]), (RowId{23, 44}));
  EXPECT_EQ(StoredEntriesSize(page.entries, 0, 300), 9u + 299 * 6);
}

}  // namespace
}  // namespace lumora::jet
