// A reachability pass over 127.0.0.1 .. 127.0.0.200 against fping on the same addresses.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "status/reachability_pass.h"

namespace {

using namespace lumora;

constexpr int kHosts = 200;
constexpr int kRounds = 5;

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string Address(int host) {
  return "127.0.0." + std::to_string(host);
}

struct Round {
  double ms;
  int answered;
};

// One pass as the main window runs it, over the headless window system; the pass ends when every
// worker's row write has been carried out on this (the UI) thread.
Round OurPass(forms::HeadlessWindowSystem& system) {
  forms::Control list(forms::MainWindow(), "超级列表框1");
  list.DeleteAllRows();
  for (int host = 1; host <= kHosts; ++host) {
    list.SetRowImage(list.AppendRow(Address(host)), 3);
  }
  const double start = NowMs();
  status::StartReachabilityPass();
  while (status::ReachabilityPassesRunning() != 0 || status::RunningWorkerCount() != 0) {
    system.Pump();
    std::this_thread::yield();
  }
  system.Pump();
  const double elapsed = NowMs() - start;
  int answered = 0;
  for (int row = 0; row < kHosts; ++row) {
    answered += list.RowImage(row) == 1 ? 1 : 0;
  }
  return {elapsed, answered};
}

// fping -c1 -i1 over the same addresses; answered hosts counted from its summary lines.
Round FpingPass() {
  std::string command = "fping -c1 -i1";
  for (int host = 1; host <= kHosts; ++host) {
    command += " " + Address(host);
  }
  command += " 2>&1";
  const double start = NowMs();
  FILE* output = popen(command.c_str(), "r");
  if (output == nullptr) {
    return {-1, 0};
  }
  int answered = 0;
  char line[512];
  while (fgets(line, sizeof(line), output) != nullptr) {
    answered += std::string(line).find("/1/0%") != std::string::npos ? 1 : 0;
  }
  const int status = pclose(output);
  const double elapsed = NowMs() - start;
  if (status == -1 || (status != 0 && answered == 0)) {
    return {-1, 0};
  }
  return {elapsed, answered};
}

}  // namespace

int main() {
  forms::HeadlessWindowSystem system;
  forms::InstallWindowSystem(system);
  forms::RegisterWindow(forms::MainWindow(), {});
  if (!forms::LoadWindow(forms::MainWindow())) {
    std::fprintf(stderr, "bench_probe: the main window did not load\n");
    return 1;
  }

  double ours = 1e300;
  double peer = 1e300;
  int oursAnswered = 0;
  int peerAnswered = 0;
  for (int round = 0; round < kRounds; ++round) {
    const Round a = OurPass(system);
    ours = std::min(ours, a.ms);
    oursAnswered = a.answered;
    const Round b = FpingPass();
    if (b.ms < 0) {
      std::fprintf(stderr, "bench_probe: fping did not run (apt-get install fping)\n");
      return 1;
    }
    peer = std::min(peer, b.ms);
    peerAnswered = b.answered;
  }

  std::printf("%d loopback addresses, one echo each, best of %d rounds\n", kHosts, kRounds);
  std::printf("%-28s %10s %10s\n", "", "ms", "answered");
  std::printf("%-28s %10.1f %10d\n", "ours (reachability pass)", ours, oursAnswered);
  std::printf("%-28s %10.1f %10d\n", "fping -c1 -i1", peer, peerAnswered);
  std::printf("%-28s %10.2f\n", "ratio ours/fping", ours / peer);
  return 0;
}
