// Whole files as bytes: what the program wrote, and what a test plants for it to read. Paths are
// as the C++ library's streams take them (TempDirectory::NativePath).
#pragma once

#include <string>
#include <string_view>

namespace lumora::testing_support {

// Every byte of the file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

// Replaces the file's content with `bytes` (making the file); false when it cannot be written.
bool WriteBytes(const std::string& path, std::string_view bytes);

}  // namespace lumora::testing_support
