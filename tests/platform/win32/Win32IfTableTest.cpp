// The real GetIfTable (Wine's, in CI, which reads the Linux interfaces
// underneath: the kernel's own account in /proc/net/dev is the reference).

#include "platform/win32/Win32IfTable.h"
#include "netstats/CIpHelper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tallyflow {
namespace {

struct KernelCounters {
  std::uint64_t received, sent;
};

// /proc/net/dev through Wine's Z: drive; empty on real Windows.
std::map<std::string, KernelCounters> KernelAccount() {
  std::map<std::string, KernelCounters> out;
  std::ifstream in("Z:\\proc\\net\\dev");
  std::string line;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) {
      continue;
    }
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of(' '));
    std::istringstream fields(line.substr(colon + 1));
    std::vector<std::uint64_t> v(16);
    for (auto &x : v) {
      fields >> x;
    }
    out[name] = {v[0], v[8]};
  }
  return out;
}

bool Between(std::uint64_t before, std::uint32_t seen, std::uint64_t after) {
  const auto lo = static_cast<std::uint32_t>(before);
  return after - before < 0x80000000ull && static_cast<std::uint32_t>(seen - lo) <= after - before;
}

TEST(Win32IfTable, RowsOf860BytesDecodeIntoWhatTheSystemReports) {
  auto table = std::make_shared<Win32IfTable>();
  std::uint32_t size = 0;
  ASSERT_EQ(table->GetIfTable(nullptr, &size, false), 122u);
  ASSERT_GE(size, 4u);
  std::vector<std::byte> image(size);
  ASSERT_EQ(table->GetIfTable(image.data(), &size, false), 0u);
  std::uint32_t rows = 0;
  std::memcpy(&rows, image.data(), 4);
  EXPECT_EQ(size, 4 + rows * 860) << "MIB_IFROW is 860 bytes";

  const auto before = KernelAccount();
  CIpHelper ip(table);
  const auto col = ip.Interfaces();
  const auto after = KernelAccount();
  ASSERT_EQ(static_cast<std::uint32_t>(col->Count()), rows);
  if (before.empty()) {
    GTEST_SKIP() << "not under Wine: no kernel account to compare with";
  }
  std::uint64_t compared = 0;
  for (const auto &rec : *col) {
    // Wine puts the Linux interface name in the description.
    const std::string name = rec->InterfaceDescription();
    SCOPED_TRACE(name);
    ASSERT_TRUE(before.count(name) && after.count(name));
    EXPECT_TRUE(Between(before.at(name).received, rec->OctetsReceived(), after.at(name).received));
    EXPECT_TRUE(Between(before.at(name).sent, rec->OctetsSent(), after.at(name).sent));
    EXPECT_EQ(rec->InterfaceName().rfind("\\DEVICE\\TCPIP_{", 0), 0u) << rec->InterfaceName();
    EXPECT_GT(rec->InterfaceIndex(), 0u);
    ++compared;
  }
  EXPECT_EQ(compared, before.size()) << "every kernel interface has its row";
  const auto lo =
      std::find_if(col->begin(), col->end(), [](const auto &r) { return r->InterfaceDescription() == "lo"; });
  ASSERT_NE(lo, col->end());
  EXPECT_EQ((*lo)->InterfaceType(), 24u) << "loopback";
  EXPECT_EQ((*lo)->InterfaceIndex(), 1u);
}

} // namespace
} // namespace tallyflow
