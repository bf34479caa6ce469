#include "services/jet/pager.h"

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
