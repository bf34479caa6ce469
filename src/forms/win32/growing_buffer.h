// Reading a text from a call that fills a fixed buffer and cannot say how long the text is.
#pragma once

#include <string>

namespace lumora::forms::win32 {

// Calls `fill(buffer, capacity)`, which returns how many characters it wrote, with ever
// larger buffers until the text fits with room to spare.
template <typename Fill>
std::wstring ReadIntoGrowingBuffer(Fill fill) {
  std::wstring buffer(256, L'\0');
  for (;;) {
    const int capacity = static_cast<int>(buffer.size());
    const int written = fill(buffer.data(), capacity);
    if (written < 0) {
      return {};
    }
    if (written < capacity - 1 || capacity >= (1 << 24)) {
      buffer.resize(static_cast<std::size_t>(written < capacity ? written : capacity - 1));
      return buffer;
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

}  // namespace lumora::forms::win32
