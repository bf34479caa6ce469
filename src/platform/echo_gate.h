// The echo requests in flight, so that the process can end without one: under Wine, a process
// that ends while its echo requests wait can deadlock Wine's ICMP service, after which no echo
// of any program in that Wine session ever returns. Both echo probes pass through it.
#pragma once

namespace lumora::platform {

// Requests holding an admitted ticket now.
int EchoesInFlight();

// One request's pass, taken before it is sent and held until it has come back.
class EchoTicket {
 public:
  EchoTicket();
  ~EchoTicket();
  EchoTicket(const EchoTicket&) = delete;
  EchoTicket& operator=(const EchoTicket&) = delete;

  // False when echoes are stopped: send nothing.
  bool Admitted() const { return admitted_; }

 private:
  bool admitted_;
};

}  // namespace lumora::platform
