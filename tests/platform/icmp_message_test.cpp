#include "platform/icmp_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace lumora::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 127.0.0.9 in network order, as the address is stored.
constexpr std::uint8_t kHost[] = {127, 0, 0, 9};
std::uint32_t HostAddress() {
  std::uint32_t address = 0;
  std::memcpy(&address, kHost, sizeof(address));
  return address;
}

// An IPv4 header of 20 bytes (or with 4 bytes of options) carrying ICMP from `from` to `to`.
Bytes IpHeader(const std::uint8_t (&from)[4], const std::uint8_t (&to)[4], bool options = false) {
  Bytes header = {
      static_cast<std::uint8_t>(options ? 0x46 : 0x45), 0, 0, 0, 0, 0, 0, 0, 64, 1, 0, 0};
  header.insert(header.end(), from, from + 4);
  header.insert(header.end(), to, to + 4);
  if (options) {
    header.insert(header.end(), {1, 1, 1, 0});
  }
  return header;
}

Bytes Icmp(std::uint8_t type, std::uint16_t identifier, std::uint16_t sequence) {
  return {type,
          0,
          0,
          0,
          static_cast<std::uint8_t>(identifier >> 8),
          static_cast<std::uint8_t>(identifier),
          static_cast<std::uint8_t>(sequence >> 8),
          static_cast<std::uint8_t>(sequence)};
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

constexpr std::uint8_t kUs[] = {127, 0, 0, 1};

TEST(IcmpMessageTest, TheRequestCarriesItsFieldsAndAValidChecksum) {
  const auto request = EchoRequest(0x1234, 0xABCD);
  EXPECT_EQ(Bytes(request.begin(), request.end()),
            (Bytes{8, 0, 0x39, 0xFE, 0x12, 0x34, 0xAB, 0xCD}));
  // Summed with its checksum, a message gives all ones.
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < request.size(); i += 2) {
    sum += static_cast<std::uint32_t>(request[i] << 8 | request[i + 1]);
  }
  EXPECT_EQ((sum & 0xFFFF) + (sum >> 16), 0xFFFFu);
}

TEST(IcmpMessageTest, AnswersAreReadFromWholePacketsAndBareMessages) {
  struct Case {
    const char* what;
    Bytes message;
    bool reply;
    std::optional<std::uint32_t> host;
  };
  const Case cases[] = {
      {"reply in an IP packet", Join({IpHeader(kHost, kUs), Icmp(0, 7, 42)}), true, HostAddress()},
      {"reply after IP options", Join({IpHeader(kHost, kUs, true), Icmp(0, 7, 42)}), true,
       HostAddress()},
      {"bare reply of a datagram socket", Icmp(0, 7, 42), true, std::nullopt},
      {"unreachable quoting the request",
       Join({IpHeader(kUs, kUs), Icmp(3, 0, 0), IpHeader(kUs, kHost), Icmp(8, 7, 42)}), false,
       HostAddress()},
      {"time exceeded quoting the request",
       Join({IpHeader(kUs, kUs), Icmp(11, 0, 0), IpHeader(kUs, kHost), Icmp(8, 7, 42)}), false,
       HostAddress()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<EchoAnswer> answer = ReadEchoAnswer(c.message);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->reply, c.reply);
    EXPECT_EQ(answer->host, c.host);
    EXPECT_EQ(answer->identifier, 7);
    EXPECT_EQ(answer->sequence, 42);
  }
}

TEST(IcmpMessageTest, WhatAnswersNoRequestIsNothing) {
  const Bytes reply = Join({IpHeader(kHost, kUs), Icmp(0, 7, 42)});
  Bytes notIcmp = reply;
  notIcmp[9] = 17;  // UDP
  Bytes headerTooShort = reply;
  headerTooShort[0] = 0x44;
  Bytes headerBeyondPacket = reply;
  headerBeyondPacket[0] = 0x4F;
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"our own request, seen on loopback", Join({IpHeader(kUs, kHost), Icmp(8, 7, 42)})},
      {"a redirect",
       Join({IpHeader(kUs, kUs), Icmp(5, 0, 0), IpHeader(kUs, kHost), Icmp(8, 7, 42)})},
      {"an error quoting a reply",
       Join({IpHeader(kUs, kUs), Icmp(3, 0, 0), IpHeader(kUs, kHost), Icmp(0, 7, 42)})},
      {"an error quoting nothing", Join({IpHeader(kUs, kUs), Icmp(3, 0, 0)})},
      {"an error quoting half a header",
       Join({IpHeader(kUs, kUs), Icmp(3, 0, 0), Bytes(12, 0x45)})},
      {"reply cut short", Bytes(reply.begin(), reply.end() - 1)},
      {"not ICMP", notIcmp},
      {"header shorter than 20 bytes", headerTooShort},
      {"header longer than the packet", headerBeyondPacket},
      {"IP header alone", IpHeader(kHost, kUs)},
  };
  for (const auto& [what, message] : cases) {
    EXPECT_FALSE(ReadEchoAnswer(message).has_value()) << what;
  }
}

}  // namespace
}  // namespace lumora::platform
