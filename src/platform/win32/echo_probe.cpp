#include "platform/echo_probe.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>
// clang-format on

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/echo_gate.h"
#include "platform/handoff_lock.h"
#include "platform/win32/echo_probes.h"
#include "platform/win32/socket_layer.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

using IcmpCreateFileFunction = HANDLE(WINAPI*)();
using IcmpSendEchoFunction = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION,
                                            LPVOID, DWORD, DWORD);
using IcmpCloseHandleFunction = BOOL(WINAPI*)(HANDLE);

// One reply without data, plus the 8 bytes the call needs for an ICMP error: 36 bytes in the
// 32-bit program (the reply structure is larger in a 64-bit build).
constexpr DWORD kReplyBufferSize = sizeof(ICMP_ECHO_REPLY) + 8;
#if !defined(_WIN64)
static_assert(kReplyBufferSize == 36);
#endif

// icmp.dll's functions, looked up when the first probe is made.
struct IcmpFunctions {
  IcmpCreateFileFunction create =
      win32::SystemFunction<IcmpCreateFileFunction>(L"icmp.dll", "IcmpCreateFile");
  IcmpSendEchoFunction send =
      win32::SystemFunction<IcmpSendEchoFunction>(L"icmp.dll", "IcmpSendEcho");
  IcmpCloseHandleFunction close =
      win32::SystemFunction<IcmpCloseHandleFunction>(L"icmp.dll", "IcmpCloseHandle");

  bool complete() const { return create != nullptr && send != nullptr && close != nullptr; }
};

// icmp.dll's functions once the socket layer (which it needs) is started; null otherwise. Looked
// up exactly once and kept until the process ends: an echo may still run while it ends.
const IcmpFunctions* LoadedIcmp() {
  if (win32::StartedSockets() == nullptr) {
    return nullptr;
  }
  static const IcmpFunctions* functions = new IcmpFunctions;
  return functions->complete() ? functions : nullptr;
}

// Only reached for a handle that IcmpCreateFile gave, so the functions are there by then.
void CloseIcmpHandle(void* handle) noexcept {
  if (const IcmpFunctions* icmp = LoadedIcmp()) {
    icmp->close(handle);
  }
}

using UniqueIcmpHandle = win32::UniqueHandle<void*, &CloseIcmpHandle>;

// Open ICMP handles that no echo uses now: each echo takes one and gives it back, so that the
// echoes of a reachability pass's reused workers open no new handle each (under Wine, two more
// requests to the server per echo).
class IdleIcmpHandles {
 public:
  UniqueIcmpHandle Take() {
    std::lock_guard hold(lock_);
    UniqueIcmpHandle handle;
    if (!idle_.empty()) {
      handle = std::move(idle_.back());
      idle_.pop_back();
    }
    return handle;
  }
  void Give(UniqueIcmpHandle handle) {
    std::lock_guard hold(lock_);
    idle_.push_back(std::move(handle));
  }

 private:
  HandoffLock lock_;
  std::vector<UniqueIcmpHandle> idle_;
};

// Never destroyed: an echo may still run while the process ends.
IdleIcmpHandles& IdleHandles() {
  static IdleIcmpHandles* handles = new IdleIcmpHandles;
  return *handles;
}

// Every echo through the system's ICMP service, one call each.
class IcmpEchoProbe final : public EchoProbe {
 public:
  bool Available() override {
    const IcmpFunctions* icmp = LoadedIcmp();
    return icmp != nullptr && UniqueIcmpHandle(icmp->create()).valid();
  }

  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    const IcmpFunctions* icmp = LoadedIcmp();
    if (icmp == nullptr) {
      return std::nullopt;
    }
    const std::optional<std::uint32_t> address = win32::ResolveIPv4(host);
    if (!address) {
      return std::nullopt;
    }

    const EchoTicket ticket;
    if (!ticket.Admitted()) {
      return std::nullopt;
    }
    alignas(ICMP_ECHO_REPLY) unsigned char buffer[kReplyBufferSize] = {};
    auto* reply = reinterpret_cast<ICMP_ECHO_REPLY*>(buffer);
    reply->RoundTripTime = static_cast<ULONG>(-1);
    UniqueIcmpHandle handle = IdleHandles().Take();
    if (!handle.valid()) {
      handle = UniqueIcmpHandle(icmp->create());
      if (!handle.valid()) {
        return std::nullopt;
      }
    }
    const DWORD replies = icmp->send(handle.get(), *address, nullptr, 0, nullptr, buffer,
                                     kReplyBufferSize, timeoutMs);
    IdleHandles().Give(std::move(handle));
    // An error answer (a router's "destination unreachable", say) is no answer from the host.
    if (replies == 0 || reply->Status != IP_SUCCESS) {
      return std::nullopt;
    }
    return static_cast<unsigned>(reply->RoundTripTime);
  }
};

constexpr unsigned kLoopbackCheckMs = 1000;

// The probe to use, chosen at the first use.
class ChosenEchoProbe final : public EchoProbe {
 public:
  bool Available() override { return Chosen().Available(); }
  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    return Chosen().Echo(host, timeoutMs);
  }

 private:
  // Under Wine, icmp.dll hands every echo to Wine's network service, which starts a thread for
  // each one: with a pass's 30 echoes in flight that, not the network, bounds the pass. Wine's
  // raw socket goes straight to the host's socket layer. On Windows a raw socket needs
  // administrator rights and the firewall decides what it sees: icmp.dll stays the probe there.
  static EchoProbe& Chosen() {
    static EchoProbe& chosen = []() -> EchoProbe& {
      // A socket that opens but hears nothing (a host that filters raw sockets' input) would
      // call every server offline: loopback must answer it first.
      if (win32::RunsUnderWine()) {
        EchoProbe* socket = win32::RawSocketEchoProbe();
        if (socket != nullptr && socket->Echo("127.0.0.1", kLoopbackCheckMs)) {
          return *socket;
        }
      }
      return win32::IcmpDllEchoProbe();
    }();
    return chosen;
  }
};

}  // namespace

namespace win32 {

EchoProbe& IcmpDllEchoProbe() {
  static IcmpEchoProbe probe;
  return probe;
}

}  // namespace win32

EchoProbe& SystemEchoProbe() {
  static ChosenEchoProbe probe;
  return probe;
}

}  // namespace lumora::platform
