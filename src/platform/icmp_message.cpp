#include "platform/icmp_message.h"

#include <cstring>

namespace lumora::platform {
namespace {

constexpr std::uint8_t kEchoReplyType = 0;
constexpr std::uint8_t kEchoRequestType = 8;
constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kIpHeaderSize = 20;  // without options
constexpr std::uint8_t kIcmpProtocol = 1;

// The errors that say a request did not reach its host or got no answer from it.
bool IsErrorAboutRequest(std::uint8_t type) {
  constexpr std::uint8_t kDestinationUnreachable = 3;
  constexpr std::uint8_t kSourceQuench = 4;
  constexpr std::uint8_t kTimeExceeded = 11;
  constexpr std::uint8_t kParameterProblem = 12;
  return type == kDestinationUnreachable || type == kSourceQuench || type == kTimeExceeded ||
         type == kParameterProblem;
}

std::uint16_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

// Network order, as the address is stored: the bytes in memory order.
std::uint32_t ReadAddress(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t address = 0;
  std::memcpy(&address, bytes.data() + at, sizeof(address));
  return address;
}

// The RFC 1071 checksum.
std::uint16_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    sum += Read16(bytes, i);
  }
  if (bytes.size() % 2 != 0) {
    sum += static_cast<std::uint32_t>(bytes.back() << 8);
  }
  while (sum >> 16 != 0) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(~sum);
}

// The IP header's length when `packet` starts with a well-formed IPv4 header carrying ICMP.
std::optional<std::size_t> IcmpOffset(std::span<const std::uint8_t> packet) {
  if (packet.size() < kIpHeaderSize || packet[0] >> 4 != 4 || packet[9] != kIcmpProtocol) {
    return std::nullopt;
  }
  const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
  if (headerSize < kIpHeaderSize || headerSize > packet.size()) {
    return std::nullopt;
  }
  return headerSize;
}

}  // namespace

std::array<std::uint8_t, kEchoRequestSize> EchoRequest(std::uint16_t identifier,
                                                       std::uint16_t sequence) {
  std::array<std::uint8_t, kEchoRequestSize> request = {
      kEchoRequestType,
      0,
      0,
      0,
      static_cast<std::uint8_t>(identifier >> 8),
      static_cast<std::uint8_t>(identifier & 0xFF),
      static_cast<std::uint8_t>(sequence >> 8),
      static_cast<std::uint8_t>(sequence & 0xFF)};
  const std::uint16_t checksum = Checksum(request);
  request[2] = static_cast<std::uint8_t>(checksum >> 8);
  request[3] = static_cast<std::uint8_t>(checksum & 0xFF);
  return request;
}

std::optional<EchoAnswer> ReadEchoAnswer(std::span<const std::uint8_t> message) {
  std::optional<std::uint32_t> source;
  // An ICMP message starts with its type, which is never 0x40..0x4F: such a first byte is
  // version 4 of an IP header.
  if (!message.empty() && message[0] >> 4 == 4) {
    const std::optional<std::size_t> offset = IcmpOffset(message);
    if (!offset) {
      return std::nullopt;
    }
    source = ReadAddress(message, 12);
    message = message.subspan(*offset);
  }
  if (message.size() < kIcmpHeaderSize) {
    return std::nullopt;
  }
  if (message[0] == kEchoReplyType) {
    return EchoAnswer{.reply = true,
                      .host = source,
                      .identifier = Read16(message, 4),
                      .sequence = Read16(message, 6)};
  }
  if (!IsErrorAboutRequest(message[0])) {
    return std::nullopt;
  }
  // An error quotes the IP header and the first 8 bytes of the request it is about.
  const std::span<const std::uint8_t> quoted = message.subspan(kIcmpHeaderSize);
  const std::optional<std::size_t> offset = IcmpOffset(quoted);
  if (!offset || quoted.size() < *offset + kIcmpHeaderSize || quoted[*offset] != kEchoRequestType) {
    return std::nullopt;
  }
  return EchoAnswer{.reply = false,
                    .host = ReadAddress(quoted, 16),
                    .identifier = Read16(quoted, *offset + 4),
                    .sequence = Read16(quoted, *offset + 6)};
}

}  // namespace lumora::platform
