// What a reachability pass costs beyond the echoes and the list view: the pass over N rows with a
// probe that answers at once, over the headless window system. Left is handing each row to one of
// the reused workers under the cap of 30, and the batching of results. Then the echoes alone:
// the platform's probe from 30 threads over the same loopback addresses, with no pass and no
// list, which under Wine is the floor of the real pass.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>  // with the clocks: <chrono> itself does not compile to GBK

#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/echo_probe.h"
#ifdef _WIN32
#include "platform/win32/echo_probes.h"
#endif
#include "status/reachability_pass.h"

namespace {

using namespace lumora;

class InstantProbe : public platform::EchoProbe {
 public:
  std::optional<unsigned> Echo(const Text&, unsigned) override { return 0; }
};

Text Address(int row) {
  return "127.0." + std::to_string(row / 250) + "." + std::to_string(row % 250 + 1);
}

double PassMs(forms::HeadlessWindowSystem& system, int rows) {
  forms::Control list = forms::ServerList();
  list.DeleteAllRows();
  for (int row = 0; row < rows; ++row) {
    list.AppendRow(Address(row));
  }
  const auto start = std::chrono::steady_clock::now();
  status::StartReachabilityPass();
  while (status::ReachabilityPassesRunning() > 0) {
    system.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  system.Pump();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// `rows` echoes from 30 threads, each taking the next address; how many were answered.
double EchoesMs(platform::EchoProbe& probe, int rows, int& answered) {
  std::atomic<int> next{0};
  std::atomic<int> replies{0};
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int thread = 0; thread < status::kMaxRunningWorkers; ++thread) {
    threads.emplace_back([&] {
      for (int row = next++; row < rows; row = next++) {
        if (probe.Echo(Address(row), platform::kProbeTimeoutMs)) {
          ++replies;
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  answered = replies.load();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  forms::HeadlessWindowSystem system;
  forms::InstallWindowSystem(system);
  forms::RegisterWindow(forms::MainWindow(), {});
  if (!forms::LoadWindow(forms::MainWindow())) {
    std::fprintf(stderr, "the main window did not load\n");
    return 1;
  }
  InstantProbe probe;
  status::SetEchoProbeForTesting(&probe);
  for (const int rows : {10, 1000, 10000}) {
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
      best = std::min(best, PassMs(system, rows));
    }
    std::printf("%6d rows: pass with instant answers, best of %d: %.1f ms (%.1f us per row)\n",
                rows, rounds, best, best * 1000.0 / rows);
  }
  status::SetEchoProbeForTesting(nullptr);
  struct NamedProbe {
    const char* name;
    platform::EchoProbe* probe;
  };
  const NamedProbe probes[] = {
      {"the program's probe", &platform::SystemEchoProbe()},
#ifdef _WIN32
      {"icmp.dll", &platform::win32::IcmpDllEchoProbe()},
      {"the raw socket", platform::win32::RawSocketEchoProbe()},
#endif
  };
  for (const NamedProbe& named : probes) {
    if (named.probe == nullptr) {
      std::printf("%s: not available here\n", named.name);
      continue;
    }
    for (const int rows : {10, 1000, 10000}) {
      int answered = 0;
      const double ms = EchoesMs(*named.probe, rows, answered);
      std::printf("%6d rows: echoes alone from %d threads through %s: %.1f ms (%d answered)\n",
                  rows, status::kMaxRunningWorkers, named.name, ms, answered);
    }
  }
  return 0;
}
