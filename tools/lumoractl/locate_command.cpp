// lumoractl locate ...: where addresses are, as the server list's location cells show them.
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "platform/program_directory.h"
#include "status/ip_locator.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

int Locate(Arguments args) {
  std::vector<std::string_view> addresses;
  std::string_view file;
  bool have_file = false;
  bool raw = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--file") {
      if (i + 1 == args.size()) {
        return UsageError("--file takes a PATH");
      }
      file = args[++i];
      have_file = true;
    } else if (args[i] == "--raw") {
      raw = true;
    } else {
      addresses.push_back(args[i]);
    }
  }
  if (addresses.empty()) {
    return UsageError("locate takes at least one ADDRESS");
  }

  status::IpLocator locator;
  if (have_file && !locator.Open(Text(file))) {
    std::fprintf(stderr, "lumoractl: cannot open %.*s\n", static_cast<int>(file.size()),
                 file.data());
    return kFailed;
  }
  for (const std::string_view address : addresses) {
    if (raw) {
      const status::Location location = locator.Find(address);
      PrintText(stdout, location.country + "\t" + location.area);
    } else {
      PrintText(stdout, locator.Lookup(address));
    }
  }
  if (!locator.IsOpen()) {
    std::fprintf(stderr, "lumoractl: no QQWry.dat or CoralWry.dat in %s\n",
                 ProgramDirectory().c_str());
    return kFailed;
  }
  return kOk;
}

constexpr Command kCommands[] = {
    {"", "ADDRESS... [--file PATH] [--raw]",
     "each ADDRESS's location (GBK); --raw: country TAB area as stored", Locate},
};

}  // namespace

std::span<const Command> LocateCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
