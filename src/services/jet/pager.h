// Whole pages of a database file, decrypted when the file has a database key. Every read is
// checked against the file's page count, which also bounds every walk along a page chain.
#pragma once

#include <cstdint>
#include <memory>

#include "base/text.h"
#include "services/jet/page_source.h"

namespace lumora::jet {

// First byte of a page.
enum class PageType : std::uint8_t {
  kHeader = 0x00,
  kData = 0x01,
  kTableDefinition = 0x02,
  kIndexNode = 0x03,
  kIndexLeaf = 0x04,
  kUsageMap = 0x05,
};

class Pager {
 public:
  Pager(std::shared_ptr<const PageSource> source, std::uint32_t page_size,
        std::uint32_t database_key);

  std::uint32_t PageSize() const { return page_size_; }
  // Whole pages in the file; a partial page at the end does not count.
  std::uint32_t PageCount() const { return page_count_; }

  // Reads page `number` into `out` (resized to the page size); false when the page lies
  // outside the file or cannot be read.
  bool ReadPage(std::uint32_t number, Bytes& out) const;

  // As ReadPage, and also false unless the page starts with `type`.
  bool ReadPage(std::uint32_t number, PageType type, Bytes& out) const;

 private:
  std::shared_ptr<const PageSource> source_;
  std::uint32_t page_size_;
  std::uint32_t database_key_;
  std::uint32_t page_count_;
};

}  // namespace lumora::jet
