// Private profile files (config.ini): the platform's own reader and writer.
#pragma once

#include "base/text.h"

namespace lumora::platform {

// Size of the buffer every profile read uses; longer values come back cut to 10239 bytes.
inline constexpr std::size_t kProfileBufferSize = 10240;

// The value of `key` in `section` of `file`, or `fallback` when the key or the file is missing.
Text ReadProfileText(const Text& file, const Text& section, const Text& key,
                     const Text& fallback = {});

// Writes `value` under `key` in `section`, creating the file and section when needed.
bool WriteProfileText(const Text& file, const Text& section, const Text& key, const Text& value);

}  // namespace lumora::platform
