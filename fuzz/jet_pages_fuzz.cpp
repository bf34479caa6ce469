// Any bytes taken as a whole database file: opening it and reading every table, every row and
// every value must neither crash nor hang.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/code_page.h"
#include "services/jet/database.h"
#include "services/jet/rc4_mask.h"
#include "services/values/field_text.h"

namespace {

using lumora::Bytes;
using lumora::jet::CatalogEntry;
using lumora::jet::Database;
using lumora::jet::MemorySource;
using lumora::jet::TableReader;
using lumora::values::Row;

// Inputs are short; they are laid out as pages of a file whose first page carries a valid
// header, so that the fuzzer reaches the catalog and the rows. Byte 0 is the number of
// 4096-byte pages (1..16) the rest is spread over.
Bytes LayOut(const std::uint8_t* input, std::size_t size) {
  if (size == 0) {
    return {};
  }
  const std::size_t pages = 1 + input[0] % 16;
  Bytes file(pages * 4096, 0);
  // Bytes go round-robin to the start of each page, then further into it.
  for (std::size_t index = 1; index < size; ++index) {
    const std::size_t position = index - 1;
    const std::size_t page = position % pages;
    const std::size_t offset = position / pages;
    if (offset < 4096) {
      file[page * 4096 + offset] = input[index];
    }
  }
  // A Jet 4 header with no database key, so the pages are read as they are.
  static constexpr char kSignature[] = "Standard Jet DB";
  file[0] = 0x00;
  std::copy_n(kSignature, 15, file.begin() + 4);
  file[0x14] = 0x01;
  std::array<std::uint8_t, 128> mask{};
  lumora::jet::Rc4Xor(0x6B39DAC7u, mask);
  std::copy_n(mask.begin() + (0x3E - 0x18), 4, file.begin() + 0x3E);
  return file;
}

void ReadAll(Bytes bytes) {
  const std::optional<Database> database = Database::Open(MemorySource(std::move(bytes)));
  if (!database) {
    return;
  }
  database->TableNames();
  for (const CatalogEntry& entry : database->Catalog()) {
    if (!entry.IsTable()) {
      continue;
    }
    const std::optional<TableReader> table =
        database->OpenTable(lumora::platform::WideToGbk(entry.name));
    if (!table) {
      continue;
    }
    TableReader::Cursor cursor = table->Rows();
    Row row;
    while (cursor.Next(row)) {
      for (const auto& value : row.values) {
        lumora::values::FieldToText(value);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  ReadAll(Bytes(input, input + size));
  ReadAll(LayOut(input, size));
  return 0;
}
