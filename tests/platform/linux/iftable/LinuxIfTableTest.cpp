// The Linux interface table against the real kernel. Every test runs in a
// private network namespace of its own, so the host's links are never seen
// or touched; `ip` (iproute2) is the independent account we compare with.

#include "platform/linux/iftable/LinuxIfTable.h"
#include "monitor/MonitorTick.h"
#include "netstats/CIpHelper.h"
#include "netstats/IfTableDecoder.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeMonitorWindow.h"
#include "fakes/FakeSettings.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <map>
#include <net/if.h>
#include <regex>
#include <sched.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tallyflow {
namespace {

std::string Sh(const std::string &command) {
  std::string out;
  FILE *pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return out;
  }
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
    out.append(buf, n);
  }
  const int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << command << ": " << out;
  return out;
}

void WriteProc(const char *path, const char *value) {
  std::ofstream f(path);
  f << value;
}

// What `ip -s -j link` reports, by interface name.
struct KernelLink {
  std::uint32_t index;
  std::string type;
  std::uint32_t mtu;
  bool up;
  std::uint64_t rxBytes;
  std::uint64_t txBytes;
};

std::map<std::string, KernelLink> KernelAccount() {
  const auto links = nlohmann::json::parse(Sh("ip -s -j link show"));
  std::map<std::string, KernelLink> out;
  for (const auto &l : links) {
    const auto &flags = l["flags"];
    const bool up = std::find(flags.begin(), flags.end(), "UP") != flags.end();
    out[l["ifname"].get<std::string>()] = {l["ifindex"].get<std::uint32_t>(),
                                           l["link_type"].get<std::string>(),
                                           l["mtu"].get<std::uint32_t>(),
                                           up,
                                           l["stats64"]["rx"]["bytes"].get<std::uint64_t>(),
                                           l["stats64"]["tx"]["bytes"].get<std::uint64_t>()};
  }
  return out;
}

std::map<std::string, std::shared_ptr<CInterface>> ByName(const CInterfaces &col) {
  std::map<std::string, std::shared_ptr<CInterface>> out;
  for (const auto &rec : col) {
    out[rec->InterfaceName()] = rec;
  }
  return out;
}

// Sends `count` broadcast frames of `size` bytes out of `ifname`.
void SendFrames(const std::string &ifname, int count, std::size_t size) {
  const int fd = ::socket(AF_PACKET, SOCK_RAW, 0);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  sockaddr_ll addr{};
  addr.sll_family = AF_PACKET;
  addr.sll_ifindex = static_cast<int>(if_nametoindex(ifname.c_str()));
  addr.sll_halen = ETH_ALEN;
  std::memset(addr.sll_addr, 0xFF, ETH_ALEN);
  std::vector<unsigned char> frame(size, 0);
  std::memset(frame.data(), 0xFF, ETH_ALEN); // broadcast
  frame[12] = 0x88;                          // local experimental ethertype
  frame[13] = 0xB5;
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(::sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr *>(&addr), sizeof addr),
              static_cast<ssize_t>(size))
        << std::strerror(errno);
  }
  ::close(fd);
}

class LinuxIfTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (::unshare(CLONE_NEWNET) != 0) {
      GTEST_SKIP() << "cannot make a private network namespace (" << std::strerror(errno)
                   << "): needs root or CAP_SYS_ADMIN; these tests never touch the host's interfaces";
    }
    // No IPv6 chatter (DAD, router solicitations) to move counters under us.
    WriteProc("/proc/sys/net/ipv6/conf/default/disable_ipv6", "1");
    WriteProc("/proc/sys/net/ipv6/conf/all/disable_ipv6", "1");
    Sh("ip link set lo up");
    // Sockets belong to the namespace they were made in: make the table now.
    table = std::make_shared<LinuxIfTable>(LinuxIfTable::Mode::Cached, clock);
    helper = std::make_unique<CIpHelper>(table);
  }

  std::shared_ptr<test::FakeClock> clock = std::make_shared<test::FakeClock>();
  std::shared_ptr<LinuxIfTable> table;
  std::unique_ptr<CIpHelper> helper;
  CIpHelper &ip() { return *helper; }
};

TEST_F(LinuxIfTableTest, RowsAgreeWithTheKernelsOwnAccount) {
  Sh("ip link add va0 type veth peer name vb0");
  Sh("ip link set va0 up && ip link set vb0 up && ip link set va0 mtu 1400");
  Sh("ip link add vc0 type veth peer name vd0"); // left down
  const auto before = ByName(*ip().Interfaces());
  SendFrames("va0", 200, 1000);
  const auto after = ip().Interfaces();
  const auto kernel = KernelAccount();

  ASSERT_EQ(after->Count(), static_cast<std::int32_t>(kernel.size()));
  std::uint64_t rxTotal = 0;
  for (const auto &rec : *after) {
    SCOPED_TRACE(rec->InterfaceName());
    ASSERT_TRUE(kernel.count(rec->InterfaceName()));
    const auto &k = kernel.at(rec->InterfaceName());
    EXPECT_EQ(rec->InterfaceIndex(), k.index);
    EXPECT_EQ(rec->InterfaceType(), k.type == "loopback" ? 24u : 6u);
    EXPECT_EQ(rec->MaximumTransmissionUnit(), k.mtu);
    EXPECT_EQ(rec->OctetsReceived(), static_cast<std::uint32_t>(k.rxBytes));
    EXPECT_EQ(rec->OctetsSent(), static_cast<std::uint32_t>(k.txBytes));
    EXPECT_EQ(rec->AdminStatus(), k.up ? 1u : 2u);
    rxTotal += rec->OctetsReceived();
  }
  EXPECT_EQ(ip().BytesReceived(), static_cast<double>(rxTotal));

  const auto now = ByName(*after);
  EXPECT_EQ(now.at("va0")->OctetsSent() - before.at("va0")->OctetsSent(), 200'000u);
  EXPECT_EQ(now.at("vb0")->OctetsReceived() - before.at("vb0")->OctetsReceived(), 200'000u);
  EXPECT_EQ(now.at("va0")->MaximumTransmissionUnit(), 1400u);
  EXPECT_EQ(now.at("va0")->OperationalStatus(), 5u);
  EXPECT_EQ(now.at("vc0")->OperationalStatus(), 2u);
  EXPECT_EQ(now.at("vc0")->AdminStatus(), 2u);
  EXPECT_EQ(now.at("lo")->OperationalStatus(), 5u);
  EXPECT_EQ(now.at("va0")->Speed(), 0xFFFFFFFFu) << "veth's 10 Gbit/s saturates the 32-bit field";
  EXPECT_EQ(now.at("lo")->Speed(), 0u) << "no speed known";
  EXPECT_EQ(now.at("lo")->AdapterAddress(), "00-00-00-00-00-00");
  EXPECT_TRUE(
      std::regex_match(now.at("va0")->AdapterAddress(), std::regex("([0-9A-F]{1,2}-){5}[0-9A-F]{1,2}")))
      << now.at("va0")->AdapterAddress();
}

TEST_F(LinuxIfTableTest, DescriptionsAreRecognisableUniqueAndFollowChanges) {
  Sh("ip link add va0 type veth peer name vb0");
  Sh("ip link add br0 type bridge");
  Sh("ip link add vx0 type veth peer name vy0");
  Sh("ip link set vx0 alias Uplink && ip link set vy0 alias Uplink");
  auto names = ByName(*ip().Interfaces());
  EXPECT_EQ(names.at("lo")->InterfaceDescription(), "Loopback (lo)");
  EXPECT_EQ(names.at("va0")->InterfaceDescription(), "Virtual Ethernet (va0)");
  EXPECT_EQ(names.at("br0")->InterfaceDescription(), "Bridge (br0)");
  const std::set<std::string> aliases = {names.at("vx0")->InterfaceDescription(),
                                         names.at("vy0")->InterfaceDescription()};
  EXPECT_EQ(aliases, (std::set<std::string>{"Uplink", "Uplink #2"}));

  // A rename, a new alias and a deleted link show in the very next snapshot.
  Sh("ip link set va0 up && ip link set vb0 name vrenamed && ip link set va0 alias 'Lab side'");
  Sh("ip link del br0");
  names = ByName(*ip().Interfaces());
  EXPECT_EQ(names.at("vrenamed")->InterfaceDescription(), "Virtual Ethernet (vrenamed)");
  EXPECT_EQ(names.at("va0")->InterfaceDescription(), "Lab side");
  EXPECT_EQ(names.count("br0"), 0u);
  EXPECT_EQ(names.count("vb0"), 0u);

  // The kernel says nothing when a link that is down gets an alias; the links
  // are read whole every 2 seconds, so it shows by then, even with older news
  // of the link (its last alias while up) still waiting to be taken in.
  Sh("ip link set vrenamed up && ip link set vrenamed alias 'Loud side' && ip link set vrenamed down");
  Sh("ip link set vrenamed alias 'Quiet side'");
  EXPECT_EQ(ByName(*ip().Interfaces()).at("vrenamed")->InterfaceDescription(), "Loud side")
      << "no news of the quiet alias, and no re-read due yet";
  clock->Advance(std::chrono::milliseconds(2100));
  EXPECT_EQ(ByName(*ip().Interfaces()).at("vrenamed")->InterfaceDescription(), "Quiet side");

  // Descriptions never exceed the 255 bytes the row can carry.
  Sh("ip link set vx0 up && ip link set vy0 up");
  Sh("ip link set vx0 alias " + std::string(250, 'a'));
  Sh("ip link set vy0 alias " + std::string(250, 'a'));
  names = ByName(*ip().Interfaces());
  const std::set<std::string> long_ = {names.at("vx0")->InterfaceDescription(),
                                       names.at("vy0")->InterfaceDescription()};
  EXPECT_EQ(long_, (std::set<std::string>{std::string(250, 'a'), std::string(250, 'a') + " #2"}));
}

TEST_F(LinuxIfTableTest, NamesThatAreNotUtf8KeepEveryByte) {
  Sh("ip link add $(printf 'v\\377\\376') type veth peer name $(printf 'caf\\303\\251')");
  const auto names = ByName(*ip().Interfaces());
  // A byte that is no UTF-8 is taken as Latin-1; valid UTF-8 stays as it is.
  EXPECT_EQ(names.count("v\xc3\xbf\xc3\xbe"), 1u);
  EXPECT_EQ(names.count("caf\xc3\xa9"), 1u);
}

// The whole road of a name, from the kernel to the texts the window shows:
// escaped once, isolated only where it carries a direction.
TEST_F(LinuxIfTableTest, NamesReachTheWindowAsTheyAreAndSafe) {
  const std::string FSI = "\xE2\x81\xA8", PDI = "\xE2\x81\xA9", FFFD = "\xEF\xBF\xBD";
  const struct {
    std::string name, shown;
  } cases[] = {
      {"w\xC3\xA4n0", "Bridge (w\xC3\xA4n0)"},
      {"\xE2\x80\xAE"
       "abc",
       FSI + "Bridge (" + FFFD + "abc)" + PDI},
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", FSI + "Bridge (\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D)" + PDI},
      {"br0", "Bridge (br0)"},
  };
  for (const auto &c : cases) {
    Sh("ip link add '" + c.name + "' type bridge");
  }
  test::FakeMonitorWindow view;
  test::FakeSettings settings;
  SampleSeries samples(100, 0.0);
  clsLineGraph graph;
  MonitorTick tick(view, nullptr, settings, std::shared_ptr<CIpHelper>(helper.get(), [](CIpHelper *) {}),
                   graph, samples, *clock, NumberLocale{",", "."}, "Tallyflow Manager");
  tick.tmrUpdate_Timer(); // the list is built from the table
  for (const auto &c : cases) {
    const auto row = std::find(view.list.begin(), view.list.end(), c.shown + " ");
    ASSERT_NE(row, view.list.end()) << c.shown;
    ASSERT_TRUE(view.ConnectionIndex(static_cast<std::int16_t>(row - view.list.begin())));
    tick.tmrUpdate_Timer();
    EXPECT_EQ(view.Caption(MonitorLabel::lblType), c.shown + " ");
  }
}

// Every field but LastChange, by index, from a table of one snapshot.
std::map<std::uint32_t, std::vector<std::string>> Rows(IIfTable &table) {
  CIpHelper helper(std::shared_ptr<IIfTable>(&table, [](IIfTable *) {}));
  std::map<std::uint32_t, std::vector<std::string>> out;
  for (const auto &r : *helper.Interfaces()) {
    out[r->InterfaceIndex()] = {r->InterfaceName(),
                                r->InterfaceDescription(),
                                r->AdapterAddress(),
                                std::to_string(r->InterfaceType()),
                                std::to_string(r->MaximumTransmissionUnit()),
                                std::to_string(r->Speed()),
                                std::to_string(r->AdminStatus()),
                                std::to_string(r->OperationalStatus()),
                                std::to_string(r->OctetsReceived()),
                                std::to_string(r->OctetsSent()),
                                std::to_string(r->UnicastPacketsReceived()),
                                std::to_string(r->UnicastPacketsSent())};
  }
  return out;
}

TEST_F(LinuxIfTableTest, CachedRowsAgreeWithAFreshFullDumpAfterEveryKindOfChange) {
  const char *changes[] = {
      "ip link add va0 type veth peer name vb0",
      "ip link set va0 mtu 1280",
      "ip link set va0 up && ip link set vb0 up",
      "ip link set vb0 name vrenamed",
      "ip link set va0 alias Uplink",
      "ip link set va0 address 02:00:00:00:00:2a",
      "ip link set vrenamed down",
      "ip link add br0 type bridge && ip link set br0 up",
      "ip link set va0 master br0",
      "ip link del va0",
      "ip link add vc0 type veth peer name vd0 && ip link set vc0 up && ip link set vc0 alias Uplink",
      "ip link set vc0 nomaster",
      "ip link del br0",
  };
  // A link that is up may send on its own at any moment (a new bridge's
  // IPv6 router solicitation, say), so the fresh dump is taken between two
  // cached snapshots: all but the counters must agree with the first, and
  // each counter of the fresh dump must lie between the two cached ones.
  constexpr std::size_t kFirstCounter = 8;
  auto withoutCounters = [](auto rows) {
    for (auto &[index, fields] : rows) {
      fields.resize(kFirstCounter);
    }
    return rows;
  };
  Rows(*table); // the cached table learns the links now; changes come as notifications
  for (const char *change : changes) {
    SCOPED_TRACE(std::string("after: ") + change);
    Sh(change);
    SendFrames("lo", 3, 100); // some traffic, so the counters have something to agree on
    const auto before = Rows(*table);
    LinuxIfTable freshTable(LinuxIfTable::Mode::FullDump);
    const auto fresh = Rows(freshTable);
    const auto after = Rows(*table);
    ASSERT_EQ(withoutCounters(before), withoutCounters(fresh));
    for (const auto &[index, fields] : fresh) {
      ASSERT_EQ(after.count(index), 1u) << "link " << index;
      for (std::size_t k = kFirstCounter; k < fields.size(); ++k) {
        const auto low = std::stoull(before.at(index)[k]);
        const auto mid = std::stoull(fields[k]);
        const auto high = std::stoull(after.at(index)[k]);
        EXPECT_TRUE(low <= mid && mid <= high)
            << fields[0] << " counter " << k << ": " << low << " / " << mid << " / " << high;
      }
    }
  }
}

// Rows are written only where they carry something; whatever the buffer
// held before must not show through in a record.
TEST_F(LinuxIfTableTest, WhatTheBufferHeldBeforeNeverShowsInARecord) {
  Sh("ip link add longer-name-x type veth peer name v0 && ip link set v0 alias Uplink");
  auto decode = [&](std::byte junk) {
    std::uint32_t size = 0;
    EXPECT_EQ(table->GetIfTable(nullptr, &size, false), 122u);
    std::vector<std::byte> buffer(size, junk);
    EXPECT_EQ(table->GetIfTable(buffer.data(), &size, false), 0u);
    CInterfaces records;
    DecodeIfTable(buffer, *table, records);
    std::vector<std::string> out;
    for (const auto &r : records) {
      out.push_back(r->InterfaceName() + "|" + r->InterfaceDescription() + "|" + r->AdapterAddress());
    }
    return out;
  };
  const auto clean = decode(std::byte{0});
  ASSERT_EQ(clean.size(), 3u);
  for (std::byte junk : {std::byte{0xFF}, std::byte{'x'}, std::byte{0x80}}) {
    EXPECT_EQ(decode(junk), clean) << "junk " << static_cast<int>(junk);
  }
}

// The count comes from the cached links without a dump; it must be the row
// count of a fresh table right after any change, before any snapshot.
TEST_F(LinuxIfTableTest, CountFromTheCachedLinksFollowsEveryChangeAtOnce) {
  std::uint32_t count = 0;
  EXPECT_EQ(table->GetNumberOfInterfaces(&count), 50u) << "nothing cached before the first snapshot";
  EXPECT_EQ(table->GetNumberOfInterfaces(nullptr), 87u);
  Rows(*table);
  const char *changes[] = {
      "ip link add va0 type veth peer name vb0",
      "ip link add br0 type bridge && ip link set va0 master br0",
      "ip link set vb0 name vrenamed && ip link set vrenamed up",
      "ip link del va0",
      "ip link add vc0 type veth peer name vd0 && ip link add ve0 type veth peer name vf0",
      "ip link del br0 && ip link del vc0",
  };
  for (const char *change : changes) {
    Sh(change);
    ASSERT_EQ(table->GetNumberOfInterfaces(&count), 0u) << "after: " << change;
    LinuxIfTable fresh(LinuxIfTable::Mode::FullDump);
    EXPECT_EQ(count, Rows(fresh).size()) << "after: " << change;
  }

  // Between a size query and its fill the count does not take in news.
  std::uint32_t size = 0;
  ASSERT_EQ(table->GetIfTable(nullptr, &size, false), 122u);
  EXPECT_EQ(table->GetNumberOfInterfaces(&count), 50u);
  EXPECT_EQ(table->GetIfTable(nullptr, &size, false), 122u);
}

TEST_F(LinuxIfTableTest, SizeQueryAndFillAreServedFromOneDump) {
  std::uint32_t size = 0;
  ASSERT_EQ(table->GetIfTable(nullptr, &size, false), 122u);
  const std::uint32_t oneLink = 4 + 860; // lo only
  EXPECT_EQ(size, oneLink);
  Sh("ip link add va0 type veth peer name vb0");

  std::vector<std::byte> buffer(size);
  std::uint32_t small = size - 1;
  EXPECT_EQ(table->GetIfTable(buffer.data(), &small, false), 122u) << "too small a buffer";
  EXPECT_EQ(small, oneLink) << "still the dump the size query took";
  EXPECT_EQ(table->GetIfTable(buffer.data(), &size, false), 0u);
  EXPECT_EQ(static_cast<unsigned>(buffer[0]), 1u) << "one row, as at the size query";

  // The next snapshot sees the new pair.
  EXPECT_EQ(ip().Interfaces()->Count(), 3);
}

TEST_F(LinuxIfTableTest, FiveHundredPairsGiveAThousandMoreRowsInTheKernelsOrder) {
  const auto base = ip().Interfaces()->Count();
  std::string batch;
  for (int i = 0; i < 500; ++i) {
    batch += "link add a" + std::to_string(i) + " type veth peer name b" + std::to_string(i) + "\n";
  }
  const std::string file = "/tmp/tallyflow-veth-batch-" + std::to_string(::getpid());
  std::ofstream(file) << batch;
  Sh("ip -batch " + file);
  std::remove(file.c_str());

  const auto col = ip().Interfaces();
  ASSERT_EQ(col->Count(), base + 1000);
  const auto kernel = KernelAccount();
  std::set<std::string> seen;
  for (const auto &rec : *col) {
    ASSERT_TRUE(kernel.count(rec->InterfaceName())) << rec->InterfaceName();
    EXPECT_EQ(rec->InterfaceIndex(), kernel.at(rec->InterfaceName()).index);
    seen.insert(rec->InterfaceDescription());
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(col->Count())) << "descriptions are unique";

  std::uint32_t size = 0;
  table->GetIfTable(nullptr, &size, false);
  std::vector<std::byte> sorted(size);
  ASSERT_EQ(table->GetIfTable(sorted.data(), &size, true), 0u);
  std::uint32_t last = 0;
  for (std::size_t r = 0; r < static_cast<std::size_t>(col->Count()); ++r) {
    std::uint32_t index;
    std::memcpy(&index, sorted.data() + 4 + r * 860 + 512, 4);
    EXPECT_LT(last, index) << "sort flag orders rows by index";
    last = index;
  }
}

} // namespace
} // namespace tallyflow
