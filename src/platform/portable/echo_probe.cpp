#include "platform/echo_probe.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/echo_gate.h"

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

std::uint16_t Checksum(const unsigned char* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
  }
  if (size % 2 != 0) {
    sum += static_cast<std::uint32_t>(data[size - 1] << 8);
  }
  while (sum >> 16 != 0) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(~sum);
}

enum class Verdict { kOther, kReply, kError };

// What one received message means for the request (identifier, sequence) sent to `to`.
Verdict Classify(const unsigned char* data, std::size_t size, bool raw, in_addr_t to,
                 std::uint16_t identifier, std::uint16_t sequence) {
  if (raw) {
    if (size < sizeof(iphdr)) {
      return Verdict::kOther;
    }
    iphdr ip;
    std::memcpy(&ip, data, sizeof(ip));
    const std::size_t headerSize = static_cast<std::size_t>(ip.ihl) * 4;
    if (headerSize < sizeof(iphdr) || headerSize > size) {
      return Verdict::kOther;
    }
    data += headerSize;
    size -= headerSize;
    if (size >= 8 && data[0] == ICMP_ECHOREPLY && ip.saddr != to) {
      return Verdict::kOther;
    }
  }
  if (size < 8) {
    return Verdict::kOther;
  }
  icmphdr header;
  std::memcpy(&header, data, sizeof(header));
  // A datagram socket's identifier is chosen by the kernel, which delivers only its own replies.
  const bool ours = ntohs(header.un.echo.sequence) == sequence &&
                    (!raw || ntohs(header.un.echo.id) == identifier);
  if (header.type == ICMP_ECHOREPLY) {
    return ours ? Verdict::kReply : Verdict::kOther;
  }
  if (!raw || header.type == ICMP_ECHO) {
    return Verdict::kOther;
  }
  // An error message quotes the IP header and the first 8 bytes of the request it answers.
  const unsigned char* quoted = data + 8;
  const std::size_t quotedSize = size - 8;
  if (quotedSize < sizeof(iphdr)) {
    return Verdict::kOther;
  }
  iphdr original;
  std::memcpy(&original, quoted, sizeof(original));
  const std::size_t originalHeaderSize = static_cast<std::size_t>(original.ihl) * 4;
  if (original.protocol != IPPROTO_ICMP || original.daddr != to ||
      originalHeaderSize + 8 > quotedSize) {
    return Verdict::kOther;
  }
  icmphdr request;
  std::memcpy(&request, quoted + originalHeaderSize, sizeof(request));
  return request.type == ICMP_ECHO && ntohs(request.un.echo.id) == identifier &&
                 ntohs(request.un.echo.sequence) == sequence
             ? Verdict::kError
             : Verdict::kOther;
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
    icmphdr request{};
    request.type = ICMP_ECHO;
    request.un.echo.id = htons(identifier);
    request.un.echo.sequence = htons(sequence);
    unsigned char packet[sizeof(request)];
    std::memcpy(packet, &request, sizeof(request));
    const std::uint16_t checksum = Checksum(packet, sizeof(packet));
    packet[2] = static_cast<unsigned char>(checksum >> 8);
    packet[3] = static_cast<unsigned char>(checksum & 0xFF);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = *address;
    const std::int64_t sent = NowNs();
    if (::sendto(icmp.fd.get(), packet, sizeof(packet), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof(to)) != static_cast<ssize_t>(sizeof(packet))) {
      return std::nullopt;
    }

    const std::int64_t deadline = sent + static_cast<std::int64_t>(timeoutMs) * 1'000'000;
    unsigned char received[2048];
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
      switch (Classify(received, static_cast<std::size_t>(size), icmp.raw, *address, identifier,
                       sequence)) {
        case Verdict::kReply:
          return static_cast<unsigned>((NowNs() - sent) / 1'000'000);
        case Verdict::kError:
          return std::nullopt;
        case Verdict::kOther:
          break;
      }
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
