#include "name_set.h"

#include <functional>

namespace lumora::ctl {

std::string_view NameSet::At(std::uint32_t index) const {
  return std::string_view(bytes_).substr(starts_[index], starts_[index + 1] - starts_[index]);
}

void NameSet::Grow() {
  std::vector<std::uint32_t> slots(slots_.empty() ? 1024 : slots_.size() * 2, 0);
  const std::size_t mask = slots.size() - 1;
  for (const std::uint32_t slot : slots_) {
    if (slot == 0) {
      continue;
    }
    std::size_t at = std::hash<std::string_view>{}(At(slot - 1)) & mask;
    while (slots[at] != 0) {
      at = (at + 1) & mask;
    }
    slots[at] = slot;
  }
  slots_ = std::move(slots);
}

bool NameSet::Insert(std::string_view name) {
  if (starts_.empty()) {
    starts_.push_back(0);
  }
  const std::size_t count = starts_.size() - 1;
  if ((count + 1) * 2 > slots_.size()) {
    Grow();
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = std::hash<std::string_view>{}(name)&mask;
  for (; slots_[at] != 0; at = (at + 1) & mask) {
    if (At(slots_[at] - 1) == name) {
      return false;
    }
  }
  bytes_.append(name);
  starts_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  slots_[at] = static_cast<std::uint32_t>(count + 1);
  return true;
}

}  // namespace lumora::ctl
