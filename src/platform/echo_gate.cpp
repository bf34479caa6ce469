#include "platform/echo_gate.h"

#include <atomic>
#include <thread>

#include "platform/echo_probe.h"

namespace lumora::platform {
namespace {

// Sequentially consistent: a request counted before StopEchoes reads the count is waited for;
// one counted after it sees the stop and withdraws.
std::atomic<int> inFlight{0};
std::atomic<bool> stopped{false};

}  // namespace

EchoTicket::EchoTicket() : admitted_(true) {
  inFlight.fetch_add(1);
  if (stopped.load()) {
    inFlight.fetch_sub(1);
    admitted_ = false;
  }
}

EchoTicket::~EchoTicket() {
  if (admitted_) {
    inFlight.fetch_sub(1);
  }
}

int EchoesInFlight() {
  return inFlight.load();
}

void StopEchoes(unsigned timeoutMs) {
  stopped.store(true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (inFlight.load() > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ResumeEchoes() {
  stopped.store(false);
}

}  // namespace lumora::platform
