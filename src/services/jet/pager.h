// Whole pages of a database file, decrypted when the file has a database key. Every read is
// checked against the file's page count, which also bounds every walk along a page chain.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"
#include "services/jet/byte_view.h"
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
  // A pager that can also write, over a source opened for writing.
  Pager(std::shared_ptr<PageSource> writable, std::uint32_t page_size, std::uint32_t database_key);

  std::uint32_t PageSize() const { return page_size_; }
  // Whole pages in the file; a partial page at the end does not count.
  std::uint32_t PageCount() const { return page_count_; }
  // Whether the file holds whole pages only: a file cut short mostly ends inside a page.
  bool EndsOnAPage() const {
    return source_ == nullptr || page_size_ == 0 || source_->Size() % page_size_ == 0;
  }

  // Reads page `number` into `out` (resized to the page size); false when the page lies
  // outside the file or cannot be read.
  bool ReadPage(std::uint32_t number, Bytes& out) const;

  // As ReadPage, and also false unless the page starts with `type`.
  bool ReadPage(std::uint32_t number, PageType type, Bytes& out) const;

  // Writing exists only for unencrypted files over a writable source.
  bool Writable() const { return writable_ != nullptr && database_key_ == 0; }
  // Replaces an existing page; false outside the file or when the page has the wrong size.
  bool WritePage(std::uint32_t number, ByteView page);
  // Adds `page` after the last one; its number, or empty when the write fails.
  std::optional<std::uint32_t> AppendPage(ByteView page);
  // Makes the writes so far durable: the pages a write points at reach the disk first.
  bool Flush();

  // The writes between BeginChange and CommitChange reach the file all or none of them (see
  // PageSource). AbandonChange, or a commit that fails, leaves the file as it was before.
  void BeginChange();
  bool CommitChange();
  void AbandonChange();

 private:
  std::shared_ptr<const PageSource> source_;
  std::shared_ptr<PageSource> writable_;
  std::uint32_t page_size_;
  std::uint32_t database_key_;
  std::uint32_t page_count_;
  // Pages written since the last sync.
  bool unsynced_ = false;
  // The page count when the change began.
  std::uint32_t page_count_before_change_ = 0;
};

}  // namespace lumora::jet
