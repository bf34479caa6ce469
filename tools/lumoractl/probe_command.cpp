// lumoractl probe ...: does each address answer an ICMP echo, as the server list's delay cells
// show it.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "platform/echo_probe.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

int Probe(Arguments args) {
  std::vector<std::string_view> addresses;
  unsigned timeoutMs = platform::kProbeTimeoutMs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--timeout") {
      if (i + 1 == args.size()) {
        return UsageError("--timeout takes a number of milliseconds");
      }
      const std::string_view value = args[++i];
      const auto [end, error] =
          std::from_chars(value.data(), value.data() + value.size(), timeoutMs);
      if (error != std::errc() || end != value.data() + value.size()) {
        return UsageError("--timeout takes a number of milliseconds");
      }
    } else {
      addresses.push_back(args[i]);
    }
  }
  if (addresses.empty()) {
    return UsageError("probe takes at least one ADDRESS");
  }

  bool allAnswered = true;
  for (const std::string_view address : addresses) {
    const std::optional<unsigned> roundTrip =
        platform::SystemEchoProbe().Echo(Text(address), timeoutMs);
    const Text line = roundTrip ? std::to_string(*roundTrip) + "ms" : Text("超时");
    allAnswered = allAnswered && roundTrip.has_value();
    // The address as typed, the time or the time-out text in the terminal's encoding.
    PrintText(stdout, ArgumentText(address).value_or(Text(address)) + "\t" + line);
  }
  return allAnswered ? kOk : kFailed;
}

constexpr Command kCommands[] = {
    {"", "ADDRESS... [--timeout MS]", "one ICMP echo per address: its time, or the time-out text",
     Probe},
};

}  // namespace

std::span<const Command> ProbeCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
