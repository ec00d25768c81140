#include "platform/linux/iftable/NetlinkMessages.h"

#include <libmnl/libmnl.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>

#include <algorithm>
#include <cstring>
#include <sys/socket.h>

namespace tallyflow {
namespace {

// The counters from a rtnl_link_stats64 laid out in `bytes` (`len` of them):
// a field past the end reads as 0.
Counters CountersFrom(const void *bytes, std::size_t len) {
  auto field = [bytes, len](std::size_t offset) {
    std::uint64_t v = 0;
    if (offset + sizeof v <= len) {
      std::memcpy(&v, static_cast<const unsigned char *>(bytes) + offset, sizeof v);
    }
    return v;
  };
  auto low = [](std::uint64_t v) { return static_cast<std::uint32_t>(v); };
  const std::uint64_t packets = field(offsetof(rtnl_link_stats64, rx_packets));
  const std::uint64_t multicast = field(offsetof(rtnl_link_stats64, multicast));
  return {low(field(offsetof(rtnl_link_stats64, rx_bytes))),
          low(packets - std::min(multicast, packets)),
          low(multicast),
          low(field(offsetof(rtnl_link_stats64, rx_dropped))),
          low(field(offsetof(rtnl_link_stats64, rx_errors))),
          low(field(offsetof(rtnl_link_stats64, rx_nohandler))),
          low(field(offsetof(rtnl_link_stats64, tx_bytes))),
          low(field(offsetof(rtnl_link_stats64, tx_packets))),
          low(field(offsetof(rtnl_link_stats64, tx_dropped))),
          low(field(offsetof(rtnl_link_stats64, tx_errors)))};
}

// The 32-bit counters of an old kernel's IFLA_STATS, as the 64-bit layout.
Counters CountersFrom32(const void *bytes, std::size_t len) {
  rtnl_link_stats s32{};
  std::memcpy(&s32, bytes, std::min(sizeof s32, len));
  rtnl_link_stats64 s{};
  s.rx_bytes = s32.rx_bytes;
  s.tx_bytes = s32.tx_bytes;
  s.rx_packets = s32.rx_packets;
  s.tx_packets = s32.tx_packets;
  s.multicast = s32.multicast;
  s.rx_dropped = s32.rx_dropped;
  s.tx_dropped = s32.tx_dropped;
  s.rx_errors = s32.rx_errors;
  s.tx_errors = s32.tx_errors;
  s.rx_nohandler = s32.rx_nohandler;
  return CountersFrom(&s, sizeof s);
}

std::string Text(const nlattr *attr) {
  const auto *text = static_cast<const char *>(mnl_attr_get_payload(attr));
  return std::string(text, strnlen(text, mnl_attr_get_payload_len(attr)));
}

// The type each IFLA_* attribute we read must validate as.
std::optional<mnl_attr_data_type> LinkAttributeType(int type) {
  switch (type) {
  case IFLA_IFNAME:
  case IFLA_IFALIAS:
    return MNL_TYPE_STRING;
  case IFLA_MTU:
    return MNL_TYPE_U32;
  case IFLA_CARRIER:
    return MNL_TYPE_U8;
  case IFLA_LINKINFO:
    return MNL_TYPE_NESTED;
  case IFLA_ADDRESS:
  case IFLA_STATS64:
  case IFLA_STATS:
    return MNL_TYPE_BINARY;
  default:
    return std::nullopt; // not read
  }
}

int ReadLinkInfo(const nlattr *attr, void *data) {
  if (mnl_attr_type_valid(attr, IFLA_INFO_MAX) < 0 || mnl_attr_get_type(attr) != IFLA_INFO_KIND ||
      mnl_attr_validate(attr, MNL_TYPE_STRING) < 0) {
    return MNL_CB_OK;
  }
  static_cast<LinkMessage *>(data)->kind = Text(attr);
  return MNL_CB_STOP;
}

int ReadLinkAttribute(const nlattr *attr, void *data) {
  auto &link = *static_cast<LinkMessage *>(data);
  if (mnl_attr_type_valid(attr, IFLA_MAX) < 0) {
    return MNL_CB_OK;
  }
  const int type = mnl_attr_get_type(attr);
  const auto expected = LinkAttributeType(type);
  if (!expected || mnl_attr_validate(attr, *expected) < 0) {
    return MNL_CB_OK; // not ours, or malformed: skipped
  }
  const void *payload = mnl_attr_get_payload(attr);
  const std::size_t len = mnl_attr_get_payload_len(attr);
  switch (type) {
  case IFLA_IFNAME:
    link.name = Text(attr);
    break;
  case IFLA_IFALIAS:
    link.alias = Text(attr);
    break;
  case IFLA_MTU:
    link.mtu = mnl_attr_get_u32(attr);
    break;
  case IFLA_CARRIER:
    link.carrier = mnl_attr_get_u8(attr) != 0;
    break;
  case IFLA_LINKINFO:
    mnl_attr_parse_nested(attr, ReadLinkInfo, &link);
    break;
  case IFLA_ADDRESS:
    link.address.assign(static_cast<const std::byte *>(payload),
                        static_cast<const std::byte *>(payload) + len);
    break;
  case IFLA_STATS64:
    link.counters = CountersFrom(payload, len);
    break;
  case IFLA_STATS:
    if (!link.counters) { // the 64-bit ones win, whichever comes first
      link.counters = CountersFrom32(payload, len);
    }
    break;
  default:
    break;
  }
  return MNL_CB_OK;
}

std::vector<std::byte> DumpRequest(std::uint16_t type, const void *header, std::size_t headerSize,
                                   std::uint32_t extMask) {
  std::vector<std::byte> request(MNL_ALIGN(sizeof(nlmsghdr)) + MNL_ALIGN(headerSize) + 64);
  nlmsghdr *nlh = mnl_nlmsg_put_header(request.data());
  nlh->nlmsg_type = type;
  nlh->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  std::memcpy(mnl_nlmsg_put_extra_header(nlh, headerSize), header, headerSize);
  if (extMask != 0) {
    mnl_attr_put_u32(nlh, IFLA_EXT_MASK, extMask);
  }
  request.resize(nlh->nlmsg_len);
  return request;
}

} // namespace

std::optional<LinkMessage> ReadLinkMessage(const nlmsghdr &message) {
  if (mnl_nlmsg_get_payload_len(&message) < sizeof(ifinfomsg)) {
    return std::nullopt;
  }
  ifinfomsg ifm{};
  std::memcpy(&ifm, mnl_nlmsg_get_payload(&message), sizeof ifm);
  LinkMessage link;
  link.index = static_cast<std::uint32_t>(ifm.ifi_index);
  link.family = ifm.ifi_family;
  link.arphrd = ifm.ifi_type;
  link.flags = ifm.ifi_flags;
  mnl_attr_parse(&message, sizeof ifm, ReadLinkAttribute, &link);
  return link;
}

std::optional<StatsMessage> ReadStatsMessage(const nlmsghdr &message) {
  if (mnl_nlmsg_get_payload_len(&message) < sizeof(if_stats_msg)) {
    return std::nullopt;
  }
  if_stats_msg header{};
  std::memcpy(&header, mnl_nlmsg_get_payload(&message), sizeof header);
  StatsMessage stats{header.ifindex, {}};
  // Once per link per snapshot: the attributes are walked in place rather
  // than collected through callbacks.
  const auto *tail = static_cast<const char *>(mnl_nlmsg_get_payload_tail(&message));
  for (auto *attr = static_cast<const nlattr *>(mnl_nlmsg_get_payload_offset(&message, sizeof header));
       mnl_attr_ok(attr, static_cast<int>(tail - reinterpret_cast<const char *>(attr)));
       attr = mnl_attr_next(attr)) {
    if (mnl_attr_type_valid(attr, IFLA_STATS_MAX) > 0 && mnl_attr_get_type(attr) == IFLA_STATS_LINK_64 &&
        mnl_attr_validate(attr, MNL_TYPE_BINARY) == 0) {
      stats.counters = CountersFrom(mnl_attr_get_payload(attr), mnl_attr_get_payload_len(attr));
      break;
    }
  }
  return stats;
}

std::vector<std::byte> LinkDumpRequest(bool withCounters) {
  ifinfomsg link{};
  link.ifi_family = AF_UNSPEC;
  return DumpRequest(RTM_GETLINK, &link, sizeof link, withCounters ? 0 : RTEXT_FILTER_SKIP_STATS);
}

std::vector<std::byte> StatsDumpRequest() {
  if_stats_msg stats{};
  stats.family = AF_UNSPEC;
  stats.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
  return DumpRequest(RTM_GETSTATS, &stats, sizeof stats, 0);
}

} // namespace tallyflow
