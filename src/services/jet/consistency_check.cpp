#include "services/jet/consistency_check.h"

#include <algorithm>
#include <map>

#include "platform/code_page.h"
#include "services/jet/btree_writer.h"
#include "services/jet/data_page.h"
#include "services/jet/index_key.h"
#include "services/jet/index_page.h"
#include "services/jet/row_decoder.h"
#include "services/jet/row_store.h"
#include "services/jet/usage_map.h"
#include "services/jet/usage_map_writer.h"

namespace lumora::jet {
namespace {

// Every problem but a stale row count.
void AddDamage(CheckReport& report, Text problem) {
  if (report.first_damage.empty()) {
    report.first_damage = problem;
  }
  report.problems.push_back(std::move(problem));
}

class TableCheck {
 public:
  TableCheck(const Pager& pager, const TableDefinition& table, Text name,
             const std::vector<std::uint32_t>& free_pages, CheckReport& report)
      : pager_(pager),
        table_(table),
        name_(std::move(name)),
        free_pages_(free_pages),
        report_(report) {}

  void Run() {
    // A map that names pages the file does not have sends every reader (and the next write)
    // past its end.
    for (const RowPointer map : {table_.owned_pages, table_.free_space_pages}) {
      if (const Text fault = UsageMapFault(pager_, map); !fault.empty()) {
        Problem(fault);
      }
    }
    for (const RealIndex& index : table_.real_indexes) {
      if (const Text fault = UsageMapFault(pager_, index.usage_map); !fault.empty()) {
        Problem("index usage map: " + fault);
      }
    }
    CheckPages();
    for (std::size_t index = 0; index < table_.real_indexes.size(); ++index) {
      CheckIndex(index);
    }
  }

 private:
  void Problem(const Text& what) { AddDamage(report_, name_ + ": " + what); }

  bool MarkedFree(std::uint32_t page) const {
    return std::binary_search(free_pages_.begin(), free_pages_.end(), page);
  }

  void CheckPages() {
    std::uint32_t live = 0;
    Bytes page;
    for (std::uint32_t number : UsageMapPages(pager_, table_.owned_pages)) {
      if (!pager_.ReadPage(number, PageType::kData, page) ||
          U32(page, kDataPageOwnerOffset) != table_.page) {
        Problem("owned page " + std::to_string(number) + " is not one of its data pages");
        continue;
      }
      if (MarkedFree(number)) {
        Problem("page " + std::to_string(number) + " is in use but marked free");
      }
      for (std::size_t slot = 0; slot < RowCount(page); ++slot) {
        const std::optional<RowSlot> header = ReadRowSlot(page, slot);
        if (!header) {
          Problem("page " + std::to_string(number) + " has a damaged slot");
          continue;
        }
        if (header->deleted) {
          continue;
        }
        const RowId id{number, static_cast<std::uint8_t>(slot)};
        const std::optional<StoredRow> row = ReadStoredRow(pager_, table_, id);
        std::optional<std::vector<Value>> values =
            row ? DecodeRow(pager_, table_, row->bytes) : std::nullopt;
        if (!values) {
          Problem("row " + std::to_string(number) + ":" + std::to_string(slot) + " is damaged");
          continue;
        }
        ++live;
        rows_.emplace(std::make_pair(id.page, id.row), std::move(*values));
      }
    }
    if (live != table_.row_count) {
      ++report_.row_count_mismatches;
      report_.problems.push_back(name_ + ": row count " + std::to_string(table_.row_count) +
                                 " but " + std::to_string(live) + " rows");
    }
  }

  void CheckIndex(std::size_t number) {
    ++report_.indexes_checked;
    const RealIndex& index = table_.real_indexes[number];
    const Text label = "index " + std::to_string(number) + ": ";
    const std::optional<IndexContents> contents =
        ReadIndexTree(pager_, table_.page, index.root_page);
    if (!contents) {
      Problem(label + "tree cannot be read");
      return;
    }
    const std::vector<std::uint32_t> owned = UsageMapPages(pager_, index.usage_map);
    for (std::uint32_t page : contents->pages) {
      if (MarkedFree(page)) {
        Problem(label + "page " + std::to_string(page) + " is marked free");
      }
      if (!std::binary_search(owned.begin(), owned.end(), page)) {
        Problem(label + "page " + std::to_string(page) + " is missing from its usage map");
      }
    }
    if (!std::is_sorted(contents->entries.begin(), contents->entries.end())) {
      Problem(label + "entries out of order");
    }
    const bool keys_known = IndexKeysSupported(table_, index);
    std::map<std::pair<std::uint32_t, std::uint8_t>, int> listed;
    for (const Bytes& entry : contents->entries) {
      const RowId id = LeafEntryRow(entry);
      const auto row = rows_.find({id.page, id.row});
      if (row == rows_.end()) {
        Problem(label + "entry points at " + std::to_string(id.page) + ":" +
                std::to_string(id.row) + ", which is no live row");
        continue;
      }
      ++listed[{id.page, id.row}];
      if (!keys_known) {
        continue;
      }
      const std::optional<Bytes> key = EncodeIndexKey(table_, index, row->second);
      if (key &&
          !std::equal(key->begin(), key->end(), entry.begin(), entry.end() - kLeafPointerSize)) {
        Problem(label + "entry for " + std::to_string(id.page) + ":" + std::to_string(id.row) +
                " holds another key");
      }
    }
    constexpr std::uint8_t kIgnoreNulls = 0x02;
    for (const auto& [id, values] : rows_) {
      const int count = listed.contains(id) ? listed[id] : 0;
      if (count > 1) {
        Problem(label + "row " + std::to_string(id.first) + ":" + std::to_string(id.second) +
                " listed twice");
      }
      if (count == 0 && (index.flags & kIgnoreNulls) == 0) {
        Problem(label + "row " + std::to_string(id.first) + ":" + std::to_string(id.second) +
                " is missing");
      }
    }
  }

  const Pager& pager_;
  const TableDefinition& table_;
  Text name_;
  const std::vector<std::uint32_t>& free_pages_;
  CheckReport& report_;
  std::map<std::pair<std::uint32_t, std::uint8_t>, std::vector<Value>> rows_;
};

}  // namespace

CheckReport CheckDatabase(const std::shared_ptr<const Pager>& pager,
                          const std::vector<CatalogEntry>& catalog) {
  CheckReport report;
  // A file cut short is what the readers meet most: it must not pass for a sound one.
  if (!pager->EndsOnAPage()) {
    AddDamage(report, "the file ends inside page " + std::to_string(pager->PageCount()) +
                          ": it is cut short");
  }
  const std::vector<std::uint32_t> free_pages = UsageMapPages(*pager, kGlobalUsageMap);
  for (const CatalogEntry& entry : catalog) {
    if (!entry.IsTable() || entry.DefinitionPage() == 0) {
      continue;
    }
    const Text name = platform::WideToGbk(entry.name);
    if (entry.DefinitionPage() >= pager->PageCount()) {
      AddDamage(report, name + ": definition page " + std::to_string(entry.DefinitionPage()) +
                            " lies past the end of the file");
      continue;
    }
    const std::optional<TableDefinition> table =
        ReadTableDefinition(*pager, entry.DefinitionPage());
    if (!table) {
      AddDamage(report, name + ": definition cannot be read");
      continue;
    }
    ++report.tables_checked;
    TableCheck(*pager, *table, name, free_pages, report).Run();
  }
  // Every Access file lists its own system tables.
  if (report.tables_checked == 0) {
    AddDamage(report, "the catalog lists no readable table");
  }
  return report;
}

}  // namespace lumora::jet
