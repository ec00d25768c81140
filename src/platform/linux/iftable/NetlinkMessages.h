#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct nlmsghdr;

namespace tallyflow {

// The rtnetlink messages the interface table is made of: the requests, and
// the replies read as libmnl's examples read them (every attribute's type
// and length checked before its payload is touched; one that fails is
// skipped, never read).

// A row's counters, low 32 bits of the kernel's 64-bit ones, in this order.
enum Counter : std::size_t {
  kRxBytes,
  kRxUcast,
  kRxMulticast,
  kRxDropped,
  kRxErrors,
  kRxNoHandler,
  kTxBytes,
  kTxPackets,
  kTxDropped,
  kTxErrors,
  kCounterCount
};
using Counters = std::array<std::uint32_t, kCounterCount>;

// What one RTM_NEWLINK or RTM_DELLINK says of a link.
struct LinkMessage {
  std::uint32_t index = 0;
  unsigned short family = 0; // AF_UNSPEC for the link itself
  unsigned short arphrd = 0; // ifi_type
  unsigned flags = 0;        // IFF_*
  std::string name;          // IFLA_IFNAME
  std::string alias;         // IFLA_IFALIAS
  std::string kind;          // IFLA_INFO_KIND, e.g. "veth"; empty for hardware
  std::uint32_t mtu = 0;     // bytes
  std::optional<bool> carrier;
  std::vector<std::byte> address;   // IFLA_ADDRESS
  std::optional<Counters> counters; // IFLA_STATS64, else IFLA_STATS; when asked for
};
// Nothing for a message too short to hold its header.
std::optional<LinkMessage> ReadLinkMessage(const nlmsghdr &message);

// One RTM_NEWSTATS message: the link's index and its IFLA_STATS_LINK_64
// counters (a field an older kernel's shorter struct lacks reads as 0, and
// so do all of them without the attribute). Nothing for a short message.
struct StatsMessage {
  std::uint32_t index = 0;
  Counters counters{};
};
std::optional<StatsMessage> ReadStatsMessage(const nlmsghdr &message);

// Dump requests: every link with its counters, every link without them
// (the counters come from the stats dump), the counters of every link.
std::vector<std::byte> LinkDumpRequest(bool withCounters);
std::vector<std::byte> StatsDumpRequest();

} // namespace tallyflow
