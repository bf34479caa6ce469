// Private profile files (config.ini): the platform's own reader and writer.
#pragma once

#include <utility>
#include <vector>

#include "base/text.h"

namespace lumora::platform {

// Size of the buffer every profile read uses; longer values come back cut to 10239 bytes.
inline constexpr std::size_t kProfileBufferSize = 10240;

// The value of `key` in `section` of `file`, or `fallback` when the key or the file is missing.
Text ReadProfileText(const Text& file, const Text& section, const Text& key,
                     const Text& fallback = {});

// Writes `value` under `key` in `section`, creating the file and section when needed.
bool WriteProfileText(const Text& file, const Text& section, const Text& key, const Text& value);

// Replaces every line of `section` (keys, and lines without '=' that something else left there)
// by `entries`, as "name=value" lines, creating the file and section when needed. Names and values
// hold no line break or zero byte.
bool ReplaceProfileSection(const Text& file, const Text& section,
                           const std::vector<std::pair<Text, Text>>& entries);

}  // namespace lumora::platform
