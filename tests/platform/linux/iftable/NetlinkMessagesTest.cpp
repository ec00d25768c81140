// Replies from the kernel as they may come: well-formed, short, malformed.

#include "platform/linux/iftable/NetlinkMessages.h"

#include <gtest/gtest.h>

#include <libmnl/libmnl.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>

#include <vector>

namespace tallyflow {
namespace {

struct Message {
  std::vector<std::byte> buffer = std::vector<std::byte>(4096);
  nlmsghdr *nlh = mnl_nlmsg_put_header(buffer.data());
};

TEST(NetlinkMessages, MalformedAttributesAreSkippedNeverRead) {
  Message m;
  m.nlh->nlmsg_type = RTM_NEWLINK;
  auto *ifm = static_cast<ifinfomsg *>(mnl_nlmsg_put_extra_header(m.nlh, sizeof(ifinfomsg)));
  ifm->ifi_index = 7;
  mnl_attr_put_strz(m.nlh, IFLA_IFNAME, "veth7");
  mnl_attr_put(m.nlh, IFLA_MTU, 2, "\x05\xdc");             // two bytes where four belong
  mnl_attr_put_u32(m.nlh, IFLA_CARRIER, 1);                 // four where one belongs
  mnl_attr_put(m.nlh, IFLA_MAX + 5, 4, "\x01\x02\x03\x04"); // a type this kernel header does not know
  nlattr *info = mnl_attr_nest_start(m.nlh, IFLA_LINKINFO);
  mnl_attr_put_strz(m.nlh, IFLA_INFO_KIND, "veth");
  mnl_attr_nest_end(m.nlh, info);
  const std::uint64_t stats[] = {10, 20, 30, 40}; // an old kernel's short struct: rx/tx packets, rx/tx bytes
  mnl_attr_put(m.nlh, IFLA_STATS64, sizeof stats, stats);

  const auto link = ReadLinkMessage(*m.nlh);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->index, 7u);
  EXPECT_EQ(link->name, "veth7");
  EXPECT_EQ(link->kind, "veth");
  EXPECT_EQ(link->mtu, 0u) << "a short MTU is not read";
  EXPECT_FALSE(link->carrier) << "a carrier of the wrong size is not read";
  ASSERT_TRUE(link->counters);
  EXPECT_EQ((*link->counters)[kRxBytes], 30u);
  EXPECT_EQ((*link->counters)[kTxBytes], 40u);
  EXPECT_EQ((*link->counters)[kRxDropped], 0u) << "a field the short struct lacks reads as 0";

  Message shortOne; // a header too short for its ifinfomsg
  mnl_nlmsg_put_extra_header(shortOne.nlh, 4);
  EXPECT_FALSE(ReadLinkMessage(*shortOne.nlh));
  EXPECT_FALSE(ReadStatsMessage(*shortOne.nlh));
}

} // namespace
} // namespace tallyflow
