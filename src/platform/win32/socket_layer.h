// The system's socket layer (ws2_32.dll) as the echo probes use it: loaded and started when the
// first probe is made, so the program starts without it. Included by the Windows adapters only.
#pragma once

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdint>
#include <optional>

#include "base/text.h"

namespace lumora::platform::win32 {

// The functions the probes call.
struct SocketFunctions {
  decltype(&::WSAStartup) startup;
  decltype(&::inet_addr) parseAddress;
  decltype(&::gethostbyname) resolve;
  decltype(&::socket) open;
  decltype(&::closesocket) close;
  decltype(&::setsockopt) setOption;
  decltype(&::sendto) sendTo;
  decltype(&::recvfrom) receiveFrom;
};

// The socket layer, started: loaded once, started until a start succeeds (a failed start is
// tried again on the next call). Null while it cannot be loaded or started.
const SocketFunctions* StartedSockets();

// `host`'s IPv4 address in network order, from dotted text or by resolving the name; nothing
// when it does not resolve or the socket layer cannot be started.
std::optional<std::uint32_t> ResolveIPv4(const Text& host);

}  // namespace lumora::platform::win32
