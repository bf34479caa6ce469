#include "loopback_pair.h"

#include <winsock2.h>

namespace rdp_client {
namespace {

// Tries after which a listener that strangers keep connecting to is given up.
constexpr int kAcceptTries = 4;

UniqueSocket NewTcpSocket() {
  return UniqueSocket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

std::optional<sockaddr_in> LocalAddress(SOCKET socket) {
  sockaddr_in address{};
  int length = sizeof address;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return std::nullopt;
  }
  return address;
}

bool SameEndpoint(const sockaddr_in& a, const sockaddr_in& b) {
  return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

// Accepts connections until the one from `from` comes.
UniqueSocket AcceptFrom(SOCKET listener, const sockaddr_in& from) {
  for (int i = 0; i < kAcceptTries; ++i) {
    sockaddr_in peer{};
    int length = sizeof peer;
    UniqueSocket accepted(::accept(listener, reinterpret_cast<sockaddr*>(&peer), &length));
    if (!accepted) {
      return UniqueSocket();
    }
    if (SameEndpoint(peer, from)) {
      return accepted;
    }
  }
  return UniqueSocket();
}

}  // namespace

namespace detail {
void CloseSocket(std::uintptr_t socket) noexcept {
  ::closesocket(static_cast<SOCKET>(socket));
}
}  // namespace detail

WinsockSession::WinsockSession() {
  WSADATA data{};
  ready_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
  if (ready_) {
    ::WSACleanup();
  }
}

std::optional<LoopbackPair> OpenLoopbackPair() {
  const UniqueSocket listener = NewTcpSocket();
  if (!listener) {
    return std::nullopt;
  }
  sockaddr_in loopback{};
  loopback.sin_family = AF_INET;
  loopback.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  loopback.sin_port = 0;
  if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&loopback), sizeof loopback) != 0 ||
      ::listen(listener.get(), 1) != 0) {
    return std::nullopt;
  }
  const std::optional<sockaddr_in> listening = LocalAddress(listener.get());
  LoopbackPair pair;
  pair.ownEnd = NewTcpSocket();
  if (!listening || !pair.ownEnd ||
      ::connect(pair.ownEnd.get(), reinterpret_cast<const sockaddr*>(&*listening),
                sizeof *listening) != 0) {
    return std::nullopt;
  }
  const std::optional<sockaddr_in> own = LocalAddress(pair.ownEnd.get());
  if (!own) {
    return std::nullopt;
  }
  pair.childEnd = AcceptFrom(listener.get(), *own);
  if (!pair.childEnd) {
    return std::nullopt;
  }
  return pair;
}

}  // namespace rdp_client
