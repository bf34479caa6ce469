// A set of texts that holds many names in little memory: their bytes one after another, and a
// table of where each starts (open addressing), for the duplicates an import looks for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::ctl {

class NameSet {
 public:
  // Adds `name`; false when it was there already.
  bool Insert(std::string_view name);

 private:
  std::string_view At(std::uint32_t index) const;
  void Grow();

  std::string bytes_;
  std::vector<std::uint32_t> starts_;  // of each name in bytes_, and the end of the last
  std::vector<std::uint32_t> slots_;   // index + 1 into starts_; 0: empty
};

}  // namespace lumora::ctl
