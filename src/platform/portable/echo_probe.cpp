#include "platform/echo_probe.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/echo_gate.h"
#include "platform/icmp_message.h"

namespace lumora::platform {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&&) = delete;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

struct IcmpSocket {
  UniqueFd fd;
  bool raw;  // a raw socket sees whole IP packets and every ICMP message of the host
};

// A datagram ("ping") socket needs no privilege where the system allows it for the process's
// group; otherwise a raw socket, which needs CAP_NET_RAW.
IcmpSocket OpenIcmpSocket() {
  UniqueFd datagram(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (datagram.valid()) {
    return {std::move(datagram), false};
  }
  return {UniqueFd(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP)), true};
}

// The address in network order, from dotted text (as inet_addr reads it) or by resolving the name.
std::optional<in_addr_t> ResolveAddress(const Text& host) {
  const in_addr_t address = ::inet_addr(host.c_str());
  if (address != INADDR_NONE) {
    return address;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  const in_addr_t resolved = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(found);
  return resolved;
}

std::int64_t NowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

class SocketEchoProbe final : public EchoProbe {
 public:
  bool Available() override { return OpenIcmpSocket().fd.valid(); }

  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    const std::optional<in_addr_t> address = ResolveAddress(host);
    if (!address) {
      return std::nullopt;
    }
    const EchoTicket ticket;
    if (!ticket.Admitted()) {
      return std::nullopt;
    }
    const IcmpSocket icmp = OpenIcmpSocket();
    if (!icmp.fd.valid()) {
      return std::nullopt;
    }
    const std::uint32_t serial = next_.fetch_add(1, std::memory_order_relaxed);
    const auto identifier = static_cast<std::uint16_t>(::getpid() + (serial >> 16));
    const auto sequence = static_cast<std::uint16_t>(serial);

    // An echo request without data, as the Windows probe sends it.
    const auto packet = EchoRequest(identifier, sequence);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = *address;
    const std::int64_t sent = NowNs();
    if (::sendto(icmp.fd.get(), packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof(to)) != static_cast<ssize_t>(packet.size())) {
      return std::nullopt;
    }

    const std::int64_t deadline = sent + static_cast<std::int64_t>(timeoutMs) * 1'000'000;
    std::uint8_t received[2048];
    for (;;) {
      const std::int64_t left = deadline - NowNs();
      if (left <= 0) {
        return std::nullopt;
      }
      pollfd wait{icmp.fd.get(), POLLIN, 0};
      const int ready = ::poll(&wait, 1, static_cast<int>((left + 999'999) / 1'000'000));
      if (ready < 0 && errno == EINTR) {
        continue;
      }
      if (ready <= 0) {
        return std::nullopt;
      }
      const ssize_t size = ::recv(icmp.fd.get(), received, sizeof(received), 0);
      if (size < 0) {
        if (errno == EINTR || errno == EAGAIN) {
          continue;
        }
        return std::nullopt;  // an ICMP error reported on the datagram socket
      }
      const std::optional<EchoAnswer> answer =
          ReadEchoAnswer({received, static_cast<std::size_t>(size)});
      // A datagram socket's identifier is chosen by the kernel, which delivers only its own
      // answers; a raw socket sees every ICMP message of the host.
      if (!answer || answer->sequence != sequence ||
          (icmp.raw && (answer->identifier != identifier || answer->host != *address))) {
        continue;
      }
      if (answer->reply) {
        return static_cast<unsigned>((NowNs() - sent) / 1'000'000);
      }
      return std::nullopt;
    }
  }

 private:
  std::atomic<std::uint32_t> next_{0};
};

}  // namespace

EchoProbe& SystemEchoProbe() {
  static SocketEchoProbe probe;
  return probe;
}

}  // namespace lumora::platform
