// The catalogue the Windows benchmarks load: loopback servers only, since every fill of the list
// starts a reachability pass over them.
#pragma once

#include <vector>

#include "base/text.h"

namespace lumora::bench {

// Server `i` of such a catalogue: 127.0.0.1, 127.0.0.1 .. 127.0.0.255, 127.0.1.1, ...
// (bench/pass_floor.sh gives fping the same addresses).
Text LoopbackHost(int i);

// Creates an Access file at `path` with `count` servers, a Chinese remark each and a domain on
// every third; false when it cannot.
bool MakeLoopbackCatalogue(const Text& path, int count);

// The same with the servers `hosts`, in order.
bool MakeCatalogue(const Text& path, const std::vector<Text>& hosts);

}  // namespace lumora::bench
