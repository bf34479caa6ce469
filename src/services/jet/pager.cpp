#include "services/jet/pager.h"

#include <cstdint>
#include <limits>

#include "services/jet/rc4_mask.h"

namespace lumora::jet {

Pager::Pager(std::shared_ptr<const PageSource> source, std::uint32_t page_size,
             std::uint32_t database_key)
    : source_(std::move(source)), page_size_(page_size), database_key_(database_key) {
  const std::uint64_t pages = source_ && page_size_ ? source_->Size() / page_size_ : 0;
  page_count_ = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(pages, std::numeric_limits<std::uint32_t>::max()));
}

Pager::Pager(std::shared_ptr<PageSource> writable, std::uint32_t page_size,
             std::uint32_t database_key)
    : Pager(std::shared_ptr<const PageSource>(writable), page_size, database_key) {
  if (writable && writable->Writable()) {
    writable_ = std::move(writable);
  }
}

bool Pager::WritePage(std::uint32_t number, ByteView page) {
  if (!Writable() || number >= page_count_ || page.size() != page_size_) {
    return false;
  }
  unsynced_ = true;
  return writable_->Write(static_cast<std::uint64_t>(number) * page_size_, page);
}

std::optional<std::uint32_t> Pager::AppendPage(ByteView page) {
  if (!Writable() || page.size() != page_size_ ||
      page_count_ >= std::numeric_limits<std::int32_t>::max() / page_size_) {
    return std::nullopt;
  }
  const std::uint32_t number = page_count_;
  unsynced_ = true;
  if (!writable_->Write(static_cast<std::uint64_t>(number) * page_size_, page)) {
    return std::nullopt;
  }
  ++page_count_;
  return number;
}

bool Pager::Flush() {
  if (!Writable()) {
    return false;
  }
  // A sync with nothing written since the last one orders nothing; it would only cost time.
  if (unsynced_ && !writable_->Flush()) {
    return false;
  }
  unsynced_ = false;
  return true;
}

void Pager::BeginChange() {
  page_count_before_change_ = page_count_;
  if (Writable()) {
    writable_->BeginChange();
  }
}

bool Pager::CommitChange() {
  if (!Writable()) {
    return false;
  }
  unsynced_ = false;
  if (!writable_->CommitChange()) {
    page_count_ = page_count_before_change_;
    return false;
  }
  return true;
}

void Pager::AbandonChange() {
  page_count_ = page_count_before_change_;
  unsynced_ = false;
  if (Writable()) {
    writable_->AbandonChange();
  }
}

bool Pager::ReadPage(std::uint32_t number, Bytes& out) const {
  if (number >= page_count_) {
    return false;
  }
  out.resize(page_size_);
  if (!source_->Read(static_cast<std::uint64_t>(number) * page_size_, out)) {
    return false;
  }
  if (database_key_ != 0 && number != 0) {
    Rc4Xor(database_key_ ^ number, out);
  }
  return true;
}

bool Pager::ReadPage(std::uint32_t number, PageType type, Bytes& out) const {
  return ReadPage(number, out) && out[0] == static_cast<std::uint8_t>(type);
}

}  // namespace lumora::jet
