#include <algorithm>

#include "services/jet/page_source.h"

namespace lumora::jet {
namespace {

class BufferSource final : public PageSource {
 public:
  explicit BufferSource(Bytes bytes) : bytes_(std::move(bytes)) {}

  std::uint64_t Size() const override { return bytes_.size(); }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
      return false;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
  }

 private:
  Bytes bytes_;
};

}  // namespace

std::unique_ptr<PageSource> MemorySource(Bytes bytes) {
  return std::make_unique<BufferSource>(std::move(bytes));
}

}  // namespace lumora::jet
