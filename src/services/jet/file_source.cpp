#include <fstream>
#include <ios>
#include <limits>

#include "platform/files.h"
#include "services/jet/page_source.h"

namespace lumora::jet {
namespace {

class FileSource final : public PageSource {
 public:
  FileSource(std::ifstream stream, std::uint64_t size) : stream_(std::move(stream)), size_(size) {}

  std::uint64_t Size() const override { return size_; }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset > size_ || out.size() > size_ - offset) {
      return false;
    }
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max())) {
      return false;
    }
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    stream_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return stream_.gcount() == static_cast<std::streamsize>(out.size());
  }

 private:
  // Reading moves the stream position, which is not part of the source's observable state.
  mutable std::ifstream stream_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<PageSource> OpenFileSource(const Text& path) {
  // On Windows the narrow name goes through the ANSI code page, which is what a GBK path needs
  // on a Chinese system; elsewhere the name is used byte for byte.
  std::ifstream stream(platform::SystemPath(path), std::ios::binary | std::ios::in);
  if (!stream) {
    return nullptr;
  }
  stream.seekg(0, std::ios::end);
  const std::streamoff end = stream.tellg();
  if (end < 0) {
    return nullptr;
  }
  stream.seekg(0, std::ios::beg);
  return std::make_unique<FileSource>(std::move(stream), static_cast<std::uint64_t>(end));
}

}  // namespace lumora::jet
