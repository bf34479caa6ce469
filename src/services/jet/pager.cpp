#include "services/jet/pager.h"

#include <cstdint>
#include <limits>

#include "services/jet/failure.h"
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
  JET_REFUSE_IF(!Writable(), "the file is open for reading only");
  JET_REFUSE_IF(number >= page_count_, "a page written lies past the end of the file");
  JET_REFUSE_IF(page.size() != page_size_, "a page written is not of the file's page size");
  unsynced_ = true;
  JET_REFUSE_IF(!writable_->Write(static_cast<std::uint64_t>(number) * page_size_, page),
                "a page could not be written");
  return true;
}

std::optional<std::uint32_t> Pager::AppendPage(ByteView page) {
  JET_REFUSE_IF(!Writable(), "the file is open for reading only");
  JET_REFUSE_IF(page.size() != page_size_, "a page written is not of the file's page size");
  JET_REFUSE_IF(page_count_ >= std::numeric_limits<std::int32_t>::max() / page_size_,
                "the file has as many pages as it can take");
  const std::uint32_t number = page_count_;
  unsynced_ = true;
  JET_REFUSE_IF(!writable_->Write(static_cast<std::uint64_t>(number) * page_size_, page),
                "a page could not be added to the file");
  ++page_count_;
  return number;
}

bool Pager::Flush() {
  JET_REFUSE_IF(!Writable(), "the file is open for reading only");
  // A sync with nothing written since the last one orders nothing; it would only cost time.
  JET_REFUSE_IF(unsynced_ && !writable_->Flush(), "the writes so far could not be made durable");
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
  JET_REFUSE_IF(!Writable(), "the file is open for reading only");
  unsynced_ = false;
  if (!writable_->CommitChange()) {
    page_count_ = page_count_before_change_;
    JET_REFUSE("the change could not be brought into the file");
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
