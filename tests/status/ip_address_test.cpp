#include "status/ip_address.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lumora::status {
namespace {

TEST(IpAddressTest, DottedQuads) {
  EXPECT_EQ(ParseAddress("0.0.0.0"), 0);
  EXPECT_EQ(ParseAddress("1.2.3.4"), 16909060);
  EXPECT_EQ(ParseAddress("255.255.255.255"), 4294967295LL);
  EXPECT_EQ(ParseAddress("192.168.1.10"), 3232235786LL);
}

TEST(IpAddressTest, OtherPieceCountsAreZero) {
  EXPECT_EQ(ParseAddress(""), 0);
  EXPECT_EQ(ParseAddress("1"), 0);
  EXPECT_EQ(ParseAddress("1.2.3"), 0);
  EXPECT_EQ(ParseAddress("1.2.3."), 0);
  EXPECT_EQ(ParseAddress("1.2.3.4.5"), 0);
  EXPECT_EQ(ParseAddress("1.2.3.4.."), 0);
  EXPECT_EQ(ParseAddress("server.example.com"), 0);
  EXPECT_EQ(ParseAddress("中文.名字"), 0);
}

TEST(IpAddressTest, ATrailingDotAddsNoPieceButEmptyPiecesCount) {
  EXPECT_EQ(ParseAddress("1.2.3.4."), 16909060);
  EXPECT_EQ(ParseAddress("1..3.4"), 16777216 + 3 * 256 + 4);
  EXPECT_EQ(ParseAddress(".1.2.3"), 65536 + 2 * 256 + 3);
  EXPECT_EQ(ParseAddress("..."), 0);
  EXPECT_EQ(ParseAddress("...7"), 7);
}

TEST(IpAddressTest, PiecesAreReadAsLeadingNumbers) {
  EXPECT_EQ(ParseAddress(" 1.\t2. 3.4 "), 16909060);
  EXPECT_EQ(ParseAddress("1a.2b.3c.4d"), 16909060);
  EXPECT_EQ(ParseAddress("+1.+2.+3.+4"), 16909060);
  EXPECT_EQ(ParseAddress("01.002.0003.4"), 16909060);
  EXPECT_EQ(ParseAddress("x.y.z.4"), 4);
  EXPECT_EQ(ParseAddress("0x10.0.0.0"), 0);  // decimal only
  EXPECT_EQ(ParseAddress("- 1.0.0.0"), 0);   // no blank after the sign
  EXPECT_EQ(ParseAddress("1.2.3.4中文"), 16909060);
}

TEST(IpAddressTest, NoRangeCheck) {
  EXPECT_EQ(ParseAddress("256.0.0.0"), 4294967296LL);
  EXPECT_EQ(ParseAddress("0.0.0.1000"), 1000);
  EXPECT_EQ(ParseAddress("-1.0.0.0"), -16777216);
  EXPECT_EQ(ParseAddress("0.0.0.-1"), -1);
  EXPECT_EQ(ParseAddress("1.-1.0.0"), 16777216 - 65536);
}

TEST(IpAddressTest, ExponentsAndFractionsAreTruncatedAfterCombining) {
  EXPECT_EQ(ParseAddress("0.0.0.1e1"), 10);
  EXPECT_EQ(ParseAddress("0.0.0.1E+2"), 100);
  EXPECT_EQ(ParseAddress("0.0.0.1e-1"), 0);
  // 0.1 * 256 = 25.6 before truncation.
  EXPECT_EQ(ParseAddress("0.0.1e-1.0"), 25);
  EXPECT_EQ(ParseAddress("0.0.-1e-1.0"), -25);
  EXPECT_EQ(ParseAddress("0.0.0.5e"), 5);
  EXPECT_EQ(ParseAddress("0.0.0.5e+"), 5);
}

TEST(IpAddressTest, HugeValuesHoldAtTheEndsOfTheRange) {
  EXPECT_EQ(ParseAddress("99999999999999999999.0.0.0"), INT64_MAX);
  EXPECT_EQ(ParseAddress("1e400.0.0.0"), INT64_MAX);
  EXPECT_EQ(ParseAddress("-1e400.0.0.0"), INT64_MIN);
  EXPECT_EQ(ParseAddress("1e400.-1e400.0.0"), 0);
  EXPECT_EQ(ParseAddress("0.0.0.1e-400"), 0);
  // Long digit runs are read in full.
  EXPECT_EQ(ParseAddress("0.0.0.0000000000000000000000000123"), 123);
  EXPECT_EQ(ParseAddress("0.0.0.1234567890123456"), 1234567890123456LL);
}

TEST(IpAddressTest, LeadingNumber) {
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("+"), 0);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("  42x"), 42);
  EXPECT_EQ(LeadingNumber("-7"), -7);
  EXPECT_EQ(LeadingNumber("2.5"), 2.5);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("5."), 5);
}

}  // namespace
}  // namespace lumora::status
