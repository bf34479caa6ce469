// ICMP echo messages as bytes: the request the probes send and what a received message says
// about one. Shared by the native and the Windows probe; no system headers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace lumora::platform {

inline constexpr std::size_t kEchoRequestSize = 8;

// An echo request without data (type 8), checksum filled in, fields in network order.
std::array<std::uint8_t, kEchoRequestSize> EchoRequest(std::uint16_t identifier,
                                                       std::uint16_t sequence);

// What a received message answers: the echo request (identifier, sequence) sent to `host`.
struct EchoAnswer {
  bool reply;  // an echo reply; otherwise an error about the request (unreachable, ...)
  // The host the request went to, in network order: a reply's source, an error's quoted
  // destination. Unknown for a reply without its IP header (a datagram socket's).
  std::optional<std::uint32_t> host;
  std::uint16_t identifier;
  std::uint16_t sequence;
};

// `message` as a socket gave it: a whole IP packet (raw sockets) or the ICMP message alone
// (datagram sockets), told apart by its first byte. Nothing for whatever answers no echo
// request: requests (a raw socket sees its own on loopback), other messages, truncated ones.
std::optional<EchoAnswer> ReadEchoAnswer(std::span<const std::uint8_t> message);

}  // namespace lumora::platform
