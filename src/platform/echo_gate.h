// The echo requests in flight, so that the process can end without one: under Wine, a process
// that ends while its echo requests wait can deadlock Wine's ICMP service, after which no echo
// of any program in that Wine session ever returns. Both echo probes pass through it.
#pragma once

namespace lumora::platform {

// Before a request: false when echoes are stopped (then nothing may be sent).
bool EnterEcho();
// After the request has come back.
void LeaveEcho();
// Requests between EnterEcho and LeaveEcho now.
int EchoesInFlight();

// One request's pass: entered when made, left when it goes out of scope.
class EchoTicket {
 public:
  EchoTicket() : admitted_(EnterEcho()) {}
  ~EchoTicket() {
    if (admitted_) {
      LeaveEcho();
    }
  }
  EchoTicket(const EchoTicket&) = delete;
  EchoTicket& operator=(const EchoTicket&) = delete;

  // False when echoes are stopped: send nothing.
  bool Admitted() const { return admitted_; }

 private:
  bool admitted_;
};

}  // namespace lumora::platform
