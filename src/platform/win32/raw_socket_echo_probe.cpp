// One raw ICMP socket for every echo of the process. Each echo registers what it waits for and
// sends its request; one receiving thread reads every answer and wakes the echo it belongs to.
// The waits use the system's slim locks and condition variables, which under Wine wait without
// the Wine server.
#include "platform/win32/echo_probes.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/echo_gate.h"
#include "platform/icmp_message.h"
#include "platform/thread.h"
#include "platform/win32/socket_layer.h"

namespace lumora::platform::win32 {
namespace {

// Room for every answer of a pass's 30 echoes and for what else a raw socket sees of the host's
// ICMP traffic while the receiving thread is busy.
constexpr int kReceiveBufferBytes = 256 * 1024;

std::int64_t NowTicks() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t TicksPerSecond() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER value;
    ::QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  return frequency;
}

// One echo waiting for its answer; lives on the echo's stack while it is registered.
struct Waiter {
  std::uint32_t host;
  std::uint16_t sequence;
  CONDITION_VARIABLE answered = CONDITION_VARIABLE_INIT;
  bool done = false;
  bool replied = false;
  std::int64_t answeredAt = 0;
};

class RawSocketProbe final : public EchoProbe {
 public:
  RawSocketProbe(const SocketFunctions& sockets, SOCKET socket)
      : sockets_(sockets), socket_(socket) {}

  // Starts the receiving thread; false when it cannot be started.
  bool StartReceiving() {
    return StartDetachedThread([this] { Receive(); });
  }

  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    const std::optional<std::uint32_t> address = ResolveIPv4(host);
    if (!address) {
      return std::nullopt;
    }
    const EchoTicket ticket;
    if (!ticket.Admitted()) {
      return std::nullopt;
    }
    Waiter waiter{.host = *address,
                  .sequence = static_cast<std::uint16_t>(nextSequence_.fetch_add(1))};
    const auto request = EchoRequest(Identifier(), waiter.sequence);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = *address;

    AcquireSRWLockExclusive(&lock_);
    waiting_.push_back(&waiter);
    ReleaseSRWLockExclusive(&lock_);
    const std::int64_t sentAt = NowTicks();
    const bool sent =
        sockets_.sendTo(socket_, reinterpret_cast<const char*>(request.data()),
                        static_cast<int>(request.size()), 0, reinterpret_cast<sockaddr*>(&to),
                        sizeof(to)) == static_cast<int>(request.size());

    AcquireSRWLockExclusive(&lock_);
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (sent && !waiter.done) {
      const ULONGLONG now = ::GetTickCount64();
      if (now >= deadline || (!::SleepConditionVariableSRW(&waiter.answered, &lock_,
                                                           static_cast<DWORD>(deadline - now), 0) &&
                              ::GetLastError() != ERROR_TIMEOUT)) {
        break;
      }
    }
    std::erase(waiting_, &waiter);
    ReleaseSRWLockExclusive(&lock_);

    if (!waiter.replied) {
      return std::nullopt;
    }
    return static_cast<unsigned>((waiter.answeredAt - sentAt) * 1000 / TicksPerSecond());
  }

 private:
  static std::uint16_t Identifier() { return static_cast<std::uint16_t>(::GetCurrentProcessId()); }

  // Runs until the process ends.
  void Receive() {
    std::uint8_t message[2048];
    for (;;) {
      sockaddr_in from{};
      int fromSize = sizeof(from);
      const int size =
          sockets_.receiveFrom(socket_, reinterpret_cast<char*>(message), sizeof(message), 0,
                               reinterpret_cast<sockaddr*>(&from), &fromSize);
      const std::int64_t receivedAt = NowTicks();
      if (size <= 0) {
        // Nothing to read after all, or a message larger than the buffer: go on.
        ::Sleep(size == 0 ? 0 : 1);
        continue;
      }
      const std::optional<EchoAnswer> answer =
          ReadEchoAnswer({message, static_cast<std::size_t>(size)});
      if (!answer || answer->identifier != Identifier()) {
        continue;
      }
      const std::uint32_t host = answer->host.value_or(from.sin_addr.s_addr);
      AcquireSRWLockExclusive(&lock_);
      const auto found = std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiter* w) {
        return w->sequence == answer->sequence && w->host == host && !w->done;
      });
      if (found != waiting_.end()) {
        Waiter& waiter = **found;
        waiter.done = true;
        waiter.replied = answer->reply;
        waiter.answeredAt = receivedAt;
        WakeConditionVariable(&waiter.answered);
      }
      ReleaseSRWLockExclusive(&lock_);
    }
  }

  const SocketFunctions& sockets_;
  const SOCKET socket_;
  std::atomic<std::uint32_t> nextSequence_{0};
  SRWLOCK lock_ = SRWLOCK_INIT;
  // At most one entry per echo in flight: a pass keeps 30.
  std::vector<Waiter*> waiting_;
};

// The probe when its socket opens and its thread starts; null otherwise. Never destroyed: its
// thread receives until the process ends.
RawSocketProbe* OpenProbe() {
  const SocketFunctions* sockets = StartedSockets();
  if (sockets == nullptr) {
    return nullptr;
  }
  const SOCKET socket = sockets->open(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  if (socket == INVALID_SOCKET) {
    return nullptr;
  }
  const int bufferBytes = kReceiveBufferBytes;
  sockets->setOption(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes),
                     sizeof(bufferBytes));
  auto* probe = new RawSocketProbe(*sockets, socket);
  if (!probe->StartReceiving()) {
    delete probe;
    sockets->close(socket);
    return nullptr;
  }
  return probe;
}

}  // namespace

EchoProbe* RawSocketEchoProbe() {
  static RawSocketProbe* const probe = OpenProbe();
  return probe;
}

}  // namespace lumora::platform::win32
