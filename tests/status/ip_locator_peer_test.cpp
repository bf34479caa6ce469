// Compares the raw texts of the real database with what the lib-qqwry npm package reads from
// the same file, for addresses spread over the whole range. Natively only; skipped when node or
// the package is missing (scripts/setup installs it into build/node).
#ifndef _WIN32

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "status/ip_locator.h"
#include "support/temp_directory.h"

namespace lumora::status {
namespace {

const std::string kPackageDir = LUMORA_SOURCE_DIR "/build/node/node_modules/lib-qqwry";
const std::string kScript = LUMORA_SOURCE_DIR "/tests/status/peer_locator.js";

std::string GbkToUtf8(const std::string& gbk) {
  iconv_t converter = ::iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return "<no converter>";
  }
  std::string in = gbk;
  std::string out(gbk.size() * 3 + 4, '\0');
  char* in_at = in.data();
  std::size_t in_left = in.size();
  char* out_at = out.data();
  std::size_t out_left = out.size();
  const std::size_t result = ::iconv(converter, &in_at, &in_left, &out_at, &out_left);
  ::iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) {
    return "<not GBK: " + gbk + ">";
  }
  out.resize(out.size() - out_left);
  return out;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

std::string AddressText(std::uint32_t value) {
  return std::to_string(value >> 24) + "." + std::to_string((value >> 16) & 0xFF) + "." +
         std::to_string((value >> 8) & 0xFF) + "." + std::to_string(value & 0xFF);
}

TEST(IpLocatorPeerTest, RawTextsAgreeWithLibQqwryOnTheRealDatabase) {
  const std::string database = kPackageDir + "/data/qqwry.dat";
  if (!std::filesystem::exists(database) || std::system("node --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "node or the lib-qqwry package is missing";
  }
  // 10,000 addresses over the whole range: evenly spaced, each moved by a pseudo-random amount
  // within its step, plus both ends.
  std::vector<std::string> addresses = {"0.0.0.0", "255.255.255.255"};
  std::uint32_t seed = 2463534242u;
  const std::uint64_t step = (std::uint64_t{1} << 32) / 9998;
  for (std::uint64_t i = 0; i < 9998; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    addresses.push_back(AddressText(static_cast<std::uint32_t>(i * step + seed % step)));
  }

  testing_support::TempDirectory directory;
  const std::string input = directory.NativePath("addresses.txt");
  const std::string output = directory.NativePath("peer.txt");
  {
    std::ofstream file(input);
    for (const std::string& address : addresses) {
      file << address << '\n';
    }
  }
  const std::string command =
      "node '" + kScript + "' '" + kPackageDir + "' < '" + input + "' > '" + output + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::ifstream peer(output);
  IpLocator locator;
  ASSERT_TRUE(locator.Open(database));
  int compared = 0;
  int mismatches = 0;
  std::string line;
  for (const std::string& address : addresses) {
    ASSERT_TRUE(std::getline(peer, line)) << "the peer stopped before " << address;
    const std::size_t blank = line.find(' ');
    ASSERT_NE(blank, std::string::npos) << line;
    const std::string peer_country = FromHex(line.substr(0, blank));
    const std::string peer_area = FromHex(line.substr(blank + 1));
    const Location ours = locator.Find(address);
    const std::string country = GbkToUtf8(ours.country);
    const std::string area = GbkToUtf8(ours.area);
    ++compared;
    if (country != peer_country || area != peer_area) {
      if (++mismatches <= 10) {
        ADD_FAILURE() << address << ": ours [" << country << "][" << area << "], lib-qqwry ["
                      << peer_country << "][" << peer_area << "]";
      }
    }
  }
  EXPECT_EQ(compared, 10000);
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace lumora::status

#endif  // _WIN32
