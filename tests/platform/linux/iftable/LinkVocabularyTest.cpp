// How links are named in the table: pure functions, no kernel needed.

#include "platform/linux/iftable/LinkVocabulary.h"

#include <gtest/gtest.h>

#include <linux/if.h>
#include <linux/if_arp.h>

namespace tallyflow {
namespace {

TEST(LinkVocabulary, OneClassGivesTheTypeCodeAndTheKindWord) {
  struct Case {
    unsigned short arphrd;
    bool wireless;
    const char *driverKind;
    std::uint32_t type;
    const char *word;
  };
  const Case cases[] = {
      {ARPHRD_LOOPBACK, false, "", 24, "Loopback"},
      {ARPHRD_ETHER, false, "", 6, "Ethernet"},
      {ARPHRD_ETHER, false, "veth", 6, "Virtual Ethernet"},
      {ARPHRD_ETHER, true, "", 71, "Wireless"},
      {ARPHRD_IEEE80211_RADIOTAP, false, "", 71, "Wireless"},
      {ARPHRD_PPP, false, "", 23, "PPP"},
      {ARPHRD_NONE, false, "tun", 131, "Tunnel"},
      {ARPHRD_SIT, false, "", 131, "Tunnel"},
      {ARPHRD_ETHER, false, "bridge", 6, "Bridge"},
      {ARPHRD_CAN, false, "vcan", 1, "Virtual CAN"},
      {ARPHRD_INFINIBAND, false, "", 1, "Network interface"},
  };
  for (const auto &c : cases) {
    const LinkClass linkClass = ClassifyLink(c.arphrd, c.wireless);
    EXPECT_EQ(IanaType(linkClass), c.type) << c.arphrd << " " << c.driverKind;
    EXPECT_EQ(KindWord(linkClass, c.driverKind), c.word) << c.arphrd << " " << c.driverKind;
  }
}

TEST(LinkVocabulary, DescriptionsAreUniqueCutBetweenCharactersAndStatesFollowTheFlags) {
  const std::string longAlias = std::string(253, 'a') + "\xc3\xa9"; // 255 bytes, ending in "é"
  const auto unique =
      UniqueDescriptions({"Uplink", "Loopback (lo)", "Uplink", "Uplink", longAlias, longAlias});
  EXPECT_EQ(unique, (std::vector<std::string>{"Uplink", "Loopback (lo)", "Uplink #2", "Uplink #3", longAlias,
                                              std::string(252, 'a') + " #2"}));
  EXPECT_EQ(BaseDescription("", "Loopback", "lo"), "Loopback (lo)");
  EXPECT_EQ(BaseDescription("Red Hat, Inc. Virtio network device", "Ethernet", "eth0"),
            "Red Hat, Inc. Virtio network device (eth0)");
  EXPECT_EQ(OperStatus(IFF_UP | IFF_RUNNING | IFF_LOWER_UP, std::nullopt), kOperOperational);
  EXPECT_EQ(OperStatus(IFF_UP | IFF_RUNNING, false), kOperDisconnected) << "no carrier";
  EXPECT_EQ(OperStatus(IFF_UP | IFF_LOWER_UP, std::nullopt), kOperNonOperational) << "not running";
  EXPECT_EQ(OperStatus(IFF_RUNNING | IFF_LOWER_UP, true), kOperDisconnected) << "down";
}

} // namespace
} // namespace tallyflow
