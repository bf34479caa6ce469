#include "platform/echo_probe.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>
// clang-format on

#include <mutex>
#include <utility>
#include <vector>

#include "platform/echo_gate.h"
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

template <typename Function>
Function Entry(HMODULE module, const char* name) {
  // Through void(*)(): GetProcAddress's FARPROC carries no real signature.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The echo state of the process: the socket layer is started until it succeeds once (a failed
// start is tried again on the next probe); icmp.dll is then loaded exactly once, whether or not
// that works, and kept until the process ends.
class EchoState {
 public:
  // The icmp.dll handle, or null when the socket layer could not be started or the library
  // could not be loaded. Every caller sees the set-up complete.
  HMODULE Library() {
    if (!StartSockets()) {
      return nullptr;
    }
    std::call_once(loaded_, [this] { library_ = ::LoadLibraryA("icmp.dll"); });
    return library_;
  }

 private:
  bool StartSockets() {
    std::lock_guard lock(startMutex_);
    if (!socketsStarted_) {
      WSADATA data;
      socketsStarted_ = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    return socketsStarted_;
  }

  std::mutex startMutex_;
  bool socketsStarted_ = false;
  std::once_flag loaded_;
  HMODULE library_ = nullptr;
};

// The address in network order, from dotted text or by resolving the name.
std::optional<IPAddr> ResolveAddress(const Text& host) {
  const unsigned long address = ::inet_addr(host.c_str());
  if (address != INADDR_NONE) {
    return static_cast<IPAddr>(address);
  }
  const hostent* entry = ::gethostbyname(host.c_str());
  if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
      entry->h_addr_list[0] == nullptr) {
    return std::nullopt;
  }
  IPAddr resolved;
  static_assert(sizeof(resolved) == 4);
  CopyMemory(&resolved, entry->h_addr_list[0], sizeof(resolved));
  return resolved;
}

HMODULE LoadedLibrary() {
  static EchoState state;
  return state.Library();
}

// Only reached for a handle that IcmpCreateFile gave, so the library is loaded by then.
void CloseIcmpHandle(void* handle) noexcept {
  const auto close = Entry<IcmpCloseHandleFunction>(LoadedLibrary(), "IcmpCloseHandle");
  if (close != nullptr) {
    close(handle);
  }
}

using UniqueIcmpHandle = win32::UniqueHandle<void*, &CloseIcmpHandle>;

// Open ICMP handles that no echo uses now: each echo takes one and gives it back, so that the
// echoes of a reachability pass's reused workers open no new handle each (under Wine, two more
// requests to the server per echo). The lock is the system's slim one, which under Wine waits
// without the server.
class IdleIcmpHandles {
 public:
  UniqueIcmpHandle Take() {
    AcquireSRWLockExclusive(&lock_);
    UniqueIcmpHandle handle;
    if (!idle_.empty()) {
      handle = std::move(idle_.back());
      idle_.pop_back();
    }
    ReleaseSRWLockExclusive(&lock_);
    return handle;
  }
  void Give(UniqueIcmpHandle handle) {
    AcquireSRWLockExclusive(&lock_);
    idle_.push_back(std::move(handle));
    ReleaseSRWLockExclusive(&lock_);
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::vector<UniqueIcmpHandle> idle_;
};

// Never destroyed: an echo may still run while the process ends.
IdleIcmpHandles& IdleHandles() {
  static IdleIcmpHandles* handles = new IdleIcmpHandles;
  return *handles;
}

class IcmpEchoProbe final : public EchoProbe {
 public:
  bool Available() override {
    const HMODULE library = LoadedLibrary();
    if (library == nullptr) {
      return false;
    }
    const auto create = Entry<IcmpCreateFileFunction>(library, "IcmpCreateFile");
    if (create == nullptr || Entry<IcmpSendEchoFunction>(library, "IcmpSendEcho") == nullptr ||
        Entry<IcmpCloseHandleFunction>(library, "IcmpCloseHandle") == nullptr) {
      return false;
    }
    return UniqueIcmpHandle(create()).valid();
  }

  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    const HMODULE library = LoadedLibrary();
    if (library == nullptr) {
      return std::nullopt;
    }
    const auto create = Entry<IcmpCreateFileFunction>(library, "IcmpCreateFile");
    const auto send = Entry<IcmpSendEchoFunction>(library, "IcmpSendEcho");
    const auto close = Entry<IcmpCloseHandleFunction>(library, "IcmpCloseHandle");
    if (create == nullptr || send == nullptr || close == nullptr) {
      return std::nullopt;
    }
    const std::optional<IPAddr> address = ResolveAddress(host);
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
    DWORD replies = 0;
    UniqueIcmpHandle icmp = IdleHandles().Take();
    if (!icmp.valid()) {
      icmp = UniqueIcmpHandle(create());
      if (!icmp.valid()) {
        return std::nullopt;
      }
    }
    replies = send(icmp.get(), *address, nullptr, 0, nullptr, buffer, kReplyBufferSize, timeoutMs);
    IdleHandles().Give(std::move(icmp));
    // An error answer (a router's "destination unreachable", say) is no answer from the host.
    if (replies == 0 || reply->Status != IP_SUCCESS) {
      return std::nullopt;
    }
    return static_cast<unsigned>(reply->RoundTripTime);
  }
};

}  // namespace

EchoProbe& SystemEchoProbe() {
  static IcmpEchoProbe probe;
  return probe;
}

}  // namespace lumora::platform
