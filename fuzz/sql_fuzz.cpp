// Any text taken as a statement of the built-in engine, run against a small in-memory catalogue
// through DBConnection and RecordSet as the program runs its statements: parsing, binding and
// evaluating must neither crash nor read out of bounds, and a deletion that succeeds must leave
// no row that its condition still selects.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "services/db_connection.h"
#include "services/record_set.h"
#include "services/sql/memory_table_store.h"
#include "services/sql/parser.h"
#include "services/sql/statement_runner.h"
#include "services/sql/store_engine.h"

namespace {

using lumora::Text;
using lumora::services::sql::MemoryTableStore;
using lumora::services::sql::StoredColumn;

// The column names in GBK, spelled as bytes: this build's compiler keeps literals in UTF-8.
const Text kNumber = "\xB1\xE0\xBA\xC5";
const Text kServerName = "\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xFB";
const Text kPort = "\xB6\xCB\xBF\xDA";
const Text kUserName = "\xD3\xC3\xBB\xA7\xC3\xFB";
const Text kPassword = "\xC3\xDC\xC2\xEB";
const Text kDomain = "\xD3\xF2";
const Text kRemark = "\xB1\xB8\xD7\xA2";

std::shared_ptr<MemoryTableStore> SmallCatalogue() {
  auto store = std::make_shared<MemoryTableStore>();
  const auto text = [](const Text& name) {
    return StoredColumn{.name = name, .type = lumora::values::ColumnType::kText, .length = 510};
  };
  store->AddTable("Server", {StoredColumn{.name = kNumber,
                                          .type = lumora::values::ColumnType::kLong,
                                          .length = 4,
                                          .nullable = false,
                                          .auto_number = true},
                             text(kServerName), text(kPort), text(kUserName), text(kPassword),
                             text(kDomain), text(kRemark)});
  const std::vector<std::vector<std::pair<Text, std::optional<Text>>>> rows = {
      {{kServerName, "127.0.0.1"}, {kPort, "3389"}, {kUserName, "admin"}, {kRemark, "a'b"}},
      {{kServerName, "127.0.0.2"}, {kPort, "3390"}, {kPassword, "x"}, {kDomain, "WORK"}},
      {{kServerName, "Host"}, {kUserName, "\xB9\xDC\xC0\xED\xD4\xB1"}, {kRemark, "  "}},
      {{kServerName, "host "}, {kPort, "1e3"}}};
  for (const auto& row : rows) {
    store->InsertRow("Server", row, nullptr);
  }
  return store;
}

// Fuzzed bytes rarely spell a whole statement; the first byte may put the start of one of the
// program's statements in front of the rest.
Text StatementText(const std::uint8_t* input, std::size_t size) {
  const Text prefixes[] = {
      "",
      "select * from Server where ",
      "select * from Server where " + kServerName + "='",
      "update Server set " + kRemark + "='",
      "update Server set " + kServerName + "='x' where ",
      "delete from Server where ",
      "delete from Server where " + kServerName + "='",
      "select * from Server where " + kNumber + " ",
  };
  constexpr std::size_t kPrefixes = sizeof prefixes / sizeof prefixes[0];
  if (size == 0) {
    return {};
  }
  const std::string_view rest(reinterpret_cast<const char*>(input + 1), size - 1);
  return prefixes[input[0] % kPrefixes] + Text(rest);
}

void ReadEveryField(lumora::services::RecordSet& records) {
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index) {
    Text value;
    for (const Text* column :
         {&kNumber, &kServerName, &kPort, &kUserName, &kPassword, &kDomain, &kRemark}) {
      records.GetFieldText(*column, value);
    }
    records.MoveNext();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  const Text sql = StatementText(input, size);

  // The statement through the program's objects: as a command and as a record set's source.
  std::shared_ptr<MemoryTableStore> store = SmallCatalogue();
  std::vector<std::unique_ptr<lumora::services::DatabaseEngine>> engines;
  engines.push_back(std::make_unique<lumora::services::sql::StoreEngine>(
      [store](const lumora::services::ConnectionRequest&) { return store; }));
  lumora::services::DBConnection connection(std::move(engines));
  if (connection.OpenAccess("mstsc.mdb", "")) {
    lumora::services::RecordSet records;
    records.SetConnection(connection);
    if (records.Open(sql, lumora::services::RecordSet::kSourceText)) {
      ReadEveryField(records);
    }
    connection.Execute(sql);
  }

  // A deletion that ran leaves nothing its condition selects.
  const std::shared_ptr<MemoryTableStore> fresh = SmallCatalogue();
  const std::optional<lumora::services::sql::Statement> statement =
      lumora::services::sql::ParseStatement(sql);
  if (statement) {
    if (const auto* remove = std::get_if<lumora::services::sql::DeleteStatement>(&*statement)) {
      if (lumora::services::sql::RunDelete(*fresh, *remove)) {
        const lumora::services::sql::SelectStatement select{remove->table, remove->where};
        const auto left = lumora::services::sql::RunSelect(*fresh, select);
        if (left && !left->rows.empty()) {
          __builtin_trap();
        }
      }
    }
  }
  return 0;
}
