#include "platform/locked_file.h"
#include "services/jet/page_source.h"

namespace lumora::jet {
namespace {

class LockedFileSource final : public PageSource {
 public:
  explicit LockedFileSource(std::unique_ptr<platform::LockedFile> file) : file_(std::move(file)) {}

  std::uint64_t Size() const override { return file_->Size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    return file_->Read(offset, out);
  }
  bool Writable() const override { return true; }
  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    return file_->Write(offset, data);
  }
  bool Flush() override { return file_->Flush(); }

 private:
  std::unique_ptr<platform::LockedFile> file_;
};

}  // namespace

std::unique_ptr<PageSource> OpenWritableFileSource(const Text& path, bool create) {
  std::unique_ptr<platform::LockedFile> file = platform::OpenLockedFile(
      path, create ? platform::OpenMode::kCreateNew : platform::OpenMode::kExisting);
  if (!file) {
    return nullptr;
  }
  return std::make_unique<LockedFileSource>(std::move(file));
}

}  // namespace lumora::jet
