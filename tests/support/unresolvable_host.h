// A host name that never resolves and never leaves the machine: its first label is longer than
// the 63 bytes a DNS label may have, so the resolver refuses it before sending any query. Tests
// use it instead of a made-up name, which would send a query to the configured name server.
#pragma once

namespace lumora::testing_support {

inline constexpr char kUnresolvableHost[] =
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.invalid";

}  // namespace lumora::testing_support
