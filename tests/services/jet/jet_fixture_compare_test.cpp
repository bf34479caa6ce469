// Every genuine sample file read in full and compared with what Debian's Access tools read
// from it: the same tables, the same number of rows and the same cell values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/values/field_text.h"

namespace lumora::jet {
namespace {

using testing::FixtureFiles;
using testing::HaveMdbTools;
using testing::RunCommand;
using testing::Utf8;

// Sample texts hold every control character, so the separators are longer than one byte.
constexpr std::string_view kCellSeparator = "<~C~>";
constexpr std::string_view kRowSeparator = "<~R~>";
constexpr std::string_view kNullMarker = "<~N~>";

std::vector<std::string> Split(const std::string& text, std::string_view separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = text.find(separator, start);
    if (end == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
}

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

// The table as the outside tool reads it: header first, one vector of cells per row.
std::vector<std::vector<std::string>> Export(const std::string& file, const std::string& table) {
  const std::string command = "mdb-export -Q -B -b hex -d '" + std::string(kCellSeparator) +
                              "' -R '" + std::string(kRowSeparator) + "' -0 '" +
                              std::string(kNullMarker) +
                              "' -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' " + Quote(file) +
                              " " + Quote(table) + " 2>/dev/null";
  const std::optional<std::string> output = RunCommand(command);
  std::vector<std::vector<std::string>> rows;
  if (!output) {
    return rows;
  }
  for (const std::string& line : Split(*output, kRowSeparator)) {
    if (!line.empty()) {
      rows.push_back(Split(line, kCellSeparator));
    }
  }
  return rows;
}

std::string Hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

bool SameNumber(const std::string& ours, const std::string& theirs) {
  const double a = std::strtod(ours.c_str(), nullptr);
  const double b = std::strtod(theirs.c_str(), nullptr);
  return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b));
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

std::string WithoutHyphens(std::string text) {
  std::erase(text, '-');
  return text;
}

// Compares one cell; the outside tool's spelling of floats and currency differs from the
// program's, so those compare as numbers.
void ExpectSameCell(const Column& column, const Value& value, const std::string& theirs,
                    const std::string& where) {
  if (IsNull(value)) {
    EXPECT_EQ(kNullMarker, theirs) << where;
    return;
  }
  switch (column.type) {
    case ColumnType::kText:
    case ColumnType::kMemo:
      EXPECT_EQ(Utf8(std::get<std::u16string>(value)), theirs) << where;
      break;
    case ColumnType::kBinary:
    case ColumnType::kOle: {
      // The outside tool's hexadecimal spelling of a Binary value stops at its first zero
      // byte (OLE data it spells whole).
      const Bytes& bytes = std::get<Blob>(value).bytes;
      const Bytes before_zero(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
      const std::string ours = column.type == ColumnType::kBinary ? Hex(before_zero) : Hex(bytes);
      EXPECT_EQ(ours, Upper(theirs)) << where;
      break;
    }
    case ColumnType::kSingle:
    case ColumnType::kDouble:
    case ColumnType::kCurrency:
    case ColumnType::kNumeric:
      EXPECT_TRUE(SameNumber(FieldToText(value), theirs))
          << where << ": " << FieldToText(value) << " vs " << theirs;
      break;
    case ColumnType::kGuid:
      // The outside tool leaves out the hyphen between the fourth and fifth groups.
      EXPECT_EQ(WithoutHyphens(FieldToText(value)), WithoutHyphens(Upper(theirs))) << where;
      break;
    default:
      // Integers, Boolean and DateTime are spelled alike (ASCII, so GBK and UTF-8 agree).
      EXPECT_EQ(FieldToText(value), theirs) << where;
      break;
  }
}

bool ExactlyComparable(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean:
    case ColumnType::kByte:
    case ColumnType::kInteger:
    case ColumnType::kLong:
    case ColumnType::kText:
    case ColumnType::kMemo:
      return true;
    default:
      return false;
  }
}

// How the outside tool spells a value of an exactly comparable column.
std::string ExactText(const Value& value) {
  if (IsNull(value)) {
    return std::string(kNullMarker);
  }
  if (const auto* text = std::get_if<std::u16string>(&value)) {
    return Utf8(*text);
  }
  return FieldToText(value);
}

void CompareTable(const Database& database, const std::string& file, const CatalogEntry& entry) {
  const std::string name = Utf8(entry.name);
  const std::string where = file + " / " + name;
  const std::optional<TableReader> table = database.OpenTable(platform::WideToGbk(entry.name));
  ASSERT_TRUE(table.has_value()) << where;
  const std::vector<Row> rows = table->ReadAll();
  const std::vector<std::vector<std::string>> exported = Export(file, name);
  ASSERT_FALSE(exported.empty()) << where;
  ASSERT_EQ(exported.size() - 1, rows.size()) << where;
  // System tables do not always keep their stored row count up to date.
  if (!entry.IsSystem()) {
    EXPECT_EQ(rows.size(), table->Definition().row_count) << where;
  }

  // The outside tool's column order is its own; match columns by name.
  const std::vector<std::string>& header = exported.front();
  std::map<std::string, std::size_t> position;
  for (std::size_t index = 0; index < header.size(); ++index) {
    position[header[index]] = index;
  }
  const std::vector<Column>& columns = table->Columns();
  std::vector<std::size_t> their_column;
  for (const Column& column : columns) {
    const auto found = position.find(Utf8(column.name));
    ASSERT_NE(found, position.end()) << where << " column " << Utf8(column.name);
    their_column.push_back(found->second);
  }

  // Both sides in the order of their exactly comparable cells: the outside tool visits moved
  // (overflow) rows in an order of its own.
  std::vector<std::pair<std::string, std::size_t>> our_order;
  std::vector<std::pair<std::string, std::size_t>> their_order;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    ASSERT_EQ(rows[row].values.size(), columns.size());
    ASSERT_EQ(exported[row + 1].size(), header.size()) << where << " row " << row;
    std::string our_key;
    std::string their_key;
    for (std::size_t column = 0; column < columns.size(); ++column) {
      if (!ExactlyComparable(columns[column].type)) {
        continue;
      }
      our_key += ExactText(rows[row].values[column]) + std::string(kCellSeparator);
      their_key += exported[row + 1][their_column[column]] + std::string(kCellSeparator);
    }
    our_order.emplace_back(our_key, row);
    their_order.emplace_back(their_key, row + 1);
  }
  std::sort(our_order.begin(), our_order.end());
  std::sort(their_order.begin(), their_order.end());

  for (std::size_t index = 0; index < rows.size(); ++index) {
    const Row& ours = rows[our_order[index].second];
    const std::vector<std::string>& theirs = exported[their_order[index].second];
    for (std::size_t column = 0; column < columns.size(); ++column) {
      ExpectSameCell(columns[column], ours.values[column], theirs[their_column[column]],
                     where + " row " + std::to_string(our_order[index].second) + " column " +
                         Utf8(columns[column].name));
    }
  }
}

TEST(JetFixtureCompare, EveryTableOfEveryFileMatchesMdbTools) {
  const std::vector<std::string> files = FixtureFiles();
  if (files.empty()) {
    GTEST_SKIP() << "no shared fixtures";
  }
  if (!HaveMdbTools()) {
    GTEST_SKIP() << "mdbtools not installed";
  }
  int compared = 0;
  for (const std::string& file : files) {
    const std::optional<Database> database = Database::Open(file);
    if (file.ends_with("V1997_test.mdb")) {
      EXPECT_FALSE(database.has_value()) << "Jet 3 files are refused";
      continue;
    }
    ASSERT_TRUE(database.has_value()) << file;

    std::string ours;
    for (const CatalogEntry& entry : database->Catalog()) {
      if (entry.IsTable() && !entry.IsSystem()) {
        ours += Utf8(entry.name) + "\n";
      }
    }
    EXPECT_EQ(RunCommand("mdb-tables -1 " + Quote(file)).value_or("?"), ours) << file;
    EXPECT_EQ(database->TableNames().size(),
              static_cast<std::size_t>(std::count(ours.begin(), ours.end(), '\n')));

    for (const CatalogEntry& entry : database->Catalog()) {
      // The outside tool misplaces the columns of this table (its GUID column is stored as a
      // variable-length one); our reading of it is checked in jet_database_test.
      if (entry.IsTable() && entry.name != u"MSysNameMap") {
        CompareTable(*database, file, entry);
        ++compared;
      }
    }
  }
  EXPECT_GE(compared, 20);
}

}  // namespace
}  // namespace lumora::jet
