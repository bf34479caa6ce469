// bench_ip_locator: lookups per second and the cost of one location pass over the server list,
// ours against the lib-qqwry npm package (whole file in memory) on the same database and the
// same addresses. Usage: bench_ip_locator [DATABASE]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "status/ip_locator.h"

namespace {

constexpr int kAddresses = 100000;
constexpr int kPassRows = 10000;
constexpr int kRounds = 5;

const std::string kPackageDir = LUMORA_SOURCE_DIR "/build/node/node_modules/lib-qqwry";
const std::string kPeerScript = LUMORA_SOURCE_DIR "/bench/peer_ip_locator.js";

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::vector<std::string> Addresses() {
  std::vector<std::string> addresses;
  addresses.reserve(kAddresses);
  std::uint32_t state = 88172645u;
  for (int i = 0; i < kAddresses; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    addresses.push_back(std::to_string(state >> 24) + "." + std::to_string((state >> 16) & 0xFF) +
                        "." + std::to_string((state >> 8) & 0xFF) + "." +
                        std::to_string(state & 0xFF));
  }
  return addresses;
}

struct Figures {
  double lookups_per_second = 0;
  double pass_milliseconds = 0;
};

Figures MeasureOurs(const std::string& database, const std::vector<std::string>& addresses,
                    std::size_t& sink) {
  Figures figures;
  lumora::status::IpLocator locator;
  if (!locator.Open(database)) {
    return figures;
  }
  for (int i = 0; i < 20000; ++i) {
    sink += locator.Lookup(addresses[static_cast<std::size_t>(i)]).size();  // warm-up
  }
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    const double start = Now();
    for (const std::string& address : addresses) {
      sink += locator.Lookup(address).size();
    }
    best = std::min(best, Now() - start);
  }
  figures.lookups_per_second = static_cast<double>(addresses.size()) / best;

  double best_pass = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    const double start = Now();
    {
      lumora::status::IpLocator pass;
      pass.Open(database);
      for (int i = 0; i < kPassRows; ++i) {
        sink += pass.Lookup(addresses[static_cast<std::size_t>(i)]).size();
      }
    }
    best_pass = std::min(best_pass, Now() - start);
  }
  figures.pass_milliseconds = best_pass * 1000;
  return figures;
}

bool MeasurePeer(const std::string& database, const std::vector<std::string>& addresses,
                 Figures& figures) {
  if (!std::filesystem::exists(kPackageDir + "/package.json")) {
    std::fprintf(stderr, "bench_ip_locator: lib-qqwry is not installed (run scripts/setup)\n");
    return false;
  }
  const std::string list = (std::filesystem::temp_directory_path() /
                            ("lumora-bench-addresses-" + std::to_string(::getpid()) + ".txt"))
                               .string();
  {
    std::ofstream out(list);
    for (const std::string& address : addresses) {
      out << address << '\n';
    }
  }
  const std::string command = "node '" + kPeerScript + "' '" + kPackageDir + "' '" + database +
                              "' '" + list + "' " + std::to_string(kPassRows) + " " +
                              std::to_string(kRounds);
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
      output += buffer;
    }
    ::pclose(pipe);
  }
  std::filesystem::remove(list);
  // {"lookupsPerSecond":N,"passMilliseconds":M,...}
  const auto number_after = [&](const std::string& key) {
    const std::size_t at = output.find("\"" + key + "\":");
    return at == std::string::npos ? 0.0 : std::atof(output.c_str() + at + key.size() + 3);
  };
  figures.lookups_per_second = number_after("lookupsPerSecond");
  figures.pass_milliseconds = number_after("passMilliseconds");
  return figures.lookups_per_second > 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string database = argc > 1 ? argv[1] : kPackageDir + "/data/qqwry.dat";
  if (!std::filesystem::exists(database)) {
    std::fprintf(stderr, "bench_ip_locator: no database at %s\n", database.c_str());
    return 1;
  }
  const std::vector<std::string> addresses = Addresses();
  std::size_t sink = 0;
  const Figures ours = MeasureOurs(database, addresses, sink);
  if (ours.lookups_per_second <= 0) {
    std::fprintf(stderr, "bench_ip_locator: cannot open %s\n", database.c_str());
    return 1;
  }
  Figures peer;
  const bool have_peer = MeasurePeer(database, addresses, peer);

  std::printf("database: %s (%llu bytes), best of %d rounds\n\n", database.c_str(),
              static_cast<unsigned long long>(std::filesystem::file_size(database)), kRounds);
  std::printf("%-34s %14s %14s %8s\n", "", "ours", "lib-qqwry", "ratio");
  const auto row = [&](const char* name, double ours_value, double peer_value, bool higher_wins) {
    if (!have_peer) {
      std::printf("%-34s %14.1f %14s %8s\n", name, ours_value, "-", "-");
      return;
    }
    const double ratio = higher_wins ? ours_value / peer_value : peer_value / ours_value;
    std::printf("%-34s %14.1f %14.1f %7.1fx\n", name, ours_value, peer_value, ratio);
  };
  row("lookups/s (100,000 addresses)", ours.lookups_per_second, peer.lookups_per_second, true);
  row("location pass, 10,000 rows (ms)", ours.pass_milliseconds, peer.pass_milliseconds, false);
  std::printf("\n(checksum %zu)\n", sink);
  return 0;
}
