// ICMP echo: does a host answer, and how long did the answer take.
#pragma once

#include <optional>

#include "base/text.h"

namespace lumora::platform {

// The timeout the program passes on every probe, and the one used when none is given.
inline constexpr unsigned kProbeTimeoutMs = 2000;
inline constexpr unsigned kDefaultEchoTimeoutMs = 10000;

class EchoProbe {
 public:
  virtual ~EchoProbe() = default;

  // Sends one echo request to `host` (dotted IPv4 text or a host name) and waits at most
  // `timeoutMs` for the reply. Gives the round-trip time in milliseconds, or nothing when no
  // reply came, the reply reported an error, the name did not resolve or the probe could not be
  // made. Safe to call from several threads at once.
  virtual std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) = 0;

  // False when no probe can be made here at all (the system's ICMP service cannot be set up or
  // refuses every request): a missing answer then says nothing about the host.
  virtual bool Available() { return true; }
};

// Before the process ends: every later echo fails at once without sending anything, and the
// call waits at most `timeoutMs` for the echoes in flight to come back. Under Wine a process that
// ends while echo requests wait can leave Wine's ICMP service deadlocked for every later program.
void StopEchoes(unsigned timeoutMs);
// Lets echoes be sent again (for a test that goes on after StopEchoes).
void ResumeEchoes();

// The platform's probe: icmp.dll on Windows; natively an ICMP datagram ("ping") socket, or a raw
// socket when the process may open one. Set up on first use, kept until the process ends.
EchoProbe& SystemEchoProbe();

}  // namespace lumora::platform
