#include "LinuxIfTable.h"

#include "IfTableDecoder.h"
#include "PlatformIfTable.h"

#include <libmnl/libmnl.h>
#include <linux/ethtool.h>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <linux/sockios.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <functional>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <unordered_set>

namespace tallyflow {
namespace {

// Interface-type codes of the Windows table (IANA ifType).
constexpr std::uint32_t kIfOther = 1;
constexpr std::uint32_t kIfEthernet = 6;
constexpr std::uint32_t kIfPpp = 23;
constexpr std::uint32_t kIfLoopback = 24;
constexpr std::uint32_t kIfIeee80211 = 71;
constexpr std::uint32_t kIfTunnel = 131;

// Windows status codes.
constexpr std::uint32_t kAdminUp = 1;
constexpr std::uint32_t kAdminDown = 2;
constexpr std::uint32_t kOperNonOperational = 0;
constexpr std::uint32_t kOperDisconnected = 2;
constexpr std::uint32_t kOperOperational = 5;

constexpr std::size_t kMaxDescriptionBytes = 255;

bool IsTunnelType(unsigned short arphrd) {
  switch (arphrd) {
  case ARPHRD_TUNNEL:
  case ARPHRD_TUNNEL6:
  case ARPHRD_SIT:
  case ARPHRD_IPGRE:
  case ARPHRD_IP6GRE:
  case ARPHRD_NONE: // tun devices
    return true;
  default:
    return false;
  }
}

bool IsWirelessType(unsigned short arphrd) {
  return arphrd == ARPHRD_IEEE80211 || arphrd == ARPHRD_IEEE80211_PRISM ||
         arphrd == ARPHRD_IEEE80211_RADIOTAP;
}

std::uint32_t IanaType(unsigned short arphrd, bool wireless) {
  if (arphrd == ARPHRD_LOOPBACK) {
    return kIfLoopback;
  }
  if (wireless || IsWirelessType(arphrd)) {
    return kIfIeee80211;
  }
  if (arphrd == ARPHRD_PPP) {
    return kIfPpp;
  }
  if (IsTunnelType(arphrd)) {
    return kIfTunnel;
  }
  if (arphrd == ARPHRD_ETHER || arphrd == ARPHRD_EETHER) {
    return kIfEthernet;
  }
  return kIfOther;
}

// The plain word a person uses for a link of this kind.
std::string KindText(const std::string &kind, unsigned short arphrd, bool wireless) {
  static const std::unordered_map<std::string, std::string> kKinds = {
      {"veth", "Virtual Ethernet"},
      {"bridge", "Bridge"},
      {"tun", "Tunnel"},
      {"ipip", "Tunnel"},
      {"gre", "Tunnel"},
      {"gretap", "Tunnel"},
      {"ip6gre", "Tunnel"},
      {"ip6tnl", "Tunnel"},
      {"sit", "Tunnel"},
      {"vti", "Tunnel"},
      {"vti6", "Tunnel"},
      {"vlan", "VLAN"},
      {"bond", "Bond"},
      {"team", "Team"},
      {"macvlan", "MACVLAN"},
      {"macvtap", "MACVTAP"},
      {"ipvlan", "IPVLAN"},
      {"vxlan", "VXLAN"},
      {"geneve", "Geneve"},
      {"wireguard", "WireGuard"},
      {"dummy", "Dummy"},
      {"ifb", "Intermediate Functional Block"},
      {"vrf", "VRF"},
      {"can", "CAN"},
      {"vcan", "Virtual CAN"},
      {"nlmon", "Netlink Monitor"}};
  if (arphrd == ARPHRD_LOOPBACK) {
    return "Loopback";
  }
  if (auto it = kKinds.find(kind); it != kKinds.end()) {
    return it->second;
  }
  if (wireless || IsWirelessType(arphrd)) {
    return "Wireless";
  }
  if (arphrd == ARPHRD_PPP) {
    return "PPP";
  }
  if (IsTunnelType(arphrd)) {
    return "Tunnel";
  }
  if (arphrd == ARPHRD_ETHER || arphrd == ARPHRD_EETHER) {
    return "Ethernet";
  }
  return "Network interface";
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
void CutUtf8(std::string &text, std::size_t limit) {
  if (text.size() <= limit) {
    return;
  }
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    --end;
  }
  text.resize(end);
}

// Interface names are bytes; valid UTF-8 becomes the same characters, any
// other byte is taken as Latin-1 so that no name is lost.
std::array<char16_t, mib::kNameChars> NameToUtf16(const std::string &name) {
  std::array<char16_t, mib::kNameChars> out{};
  std::size_t o = 0;
  auto put = [&](char32_t cp) {
    if (cp >= 0x10000) {
      if (o + 2 >= out.size()) {
        return;
      }
      cp -= 0x10000;
      out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else if (o + 1 < out.size()) {
      out[o++] = static_cast<char16_t>(cp);
    }
  };
  const auto *s = reinterpret_cast<const unsigned char *>(name.data());
  const std::size_t n = name.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    bool valid = len > 0 && i + len <= n;
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; valid && k < len; ++k) {
      valid = (s[i + k] & 0xC0) == 0x80;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (valid && len > 1) {
      static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      valid = cp >= kMin[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    }
    if (!valid) {
      put(c);
      ++i;
    } else {
      put(cp);
      i += len;
    }
  }
  return out;
}

std::uint32_t Low32(std::uint64_t v) { return static_cast<std::uint32_t>(v); }

std::uint32_t CentisecondsSinceBoot() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 100 +
                                    static_cast<std::uint64_t>(ts.tv_nsec) / 10'000'000);
}

struct Attributes {
  std::array<const nlattr *, IFLA_MAX + 1> tb{};
};

int CollectAttribute(const nlattr *attr, void *data) {
  auto &tb = static_cast<Attributes *>(data)->tb;
  const int type = mnl_attr_get_type(attr);
  if (type >= 0 && type <= IFLA_MAX) {
    tb[static_cast<std::size_t>(type)] = attr;
  }
  return MNL_CB_OK;
}

std::string AttributeText(const nlattr *attr) {
  if (attr == nullptr) {
    return {};
  }
  const auto *text = static_cast<const char *>(mnl_attr_get_payload(attr));
  const std::size_t len = mnl_attr_get_payload_len(attr);
  return std::string(text, strnlen(text, len));
}

std::string LinkKind(const nlattr *linkinfo) {
  if (linkinfo == nullptr) {
    return {};
  }
  std::string kind;
  mnl_attr_parse_nested(
      linkinfo,
      [](const nlattr *attr, void *data) {
        if (mnl_attr_get_type(attr) == IFLA_INFO_KIND) {
          *static_cast<std::string *>(data) = AttributeText(attr);
          return MNL_CB_STOP;
        }
        return MNL_CB_OK;
      },
      &kind);
  return kind;
}

} // namespace

namespace {

// The counters a row carries, in the order the snapshot patches them in.
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
  kTxErrors
};

// A row's counters from the kernel's, each read by `field` (the offset of a
// rtnl_link_stats64 member -> its value). Only the low 32 bits of each go
// into a row.
template <typename Field> std::array<std::uint32_t, 10> CountersFrom(Field field) {
  const std::uint64_t rxPackets = field(offsetof(rtnl_link_stats64, rx_packets));
  const std::uint64_t multicast = field(offsetof(rtnl_link_stats64, multicast));
  return {Low32(field(offsetof(rtnl_link_stats64, rx_bytes))),
          Low32(rxPackets - std::min(multicast, rxPackets)),
          Low32(multicast),
          Low32(field(offsetof(rtnl_link_stats64, rx_dropped))),
          Low32(field(offsetof(rtnl_link_stats64, rx_errors))),
          Low32(field(offsetof(rtnl_link_stats64, rx_nohandler))),
          Low32(field(offsetof(rtnl_link_stats64, tx_bytes))),
          Low32(field(offsetof(rtnl_link_stats64, tx_packets))),
          Low32(field(offsetof(rtnl_link_stats64, tx_dropped))),
          Low32(field(offsetof(rtnl_link_stats64, tx_errors)))};
}

std::array<std::uint32_t, 10> CountersOf(const rtnl_link_stats64 &s) {
  return CountersFrom([&s](std::size_t offset) {
    std::uint64_t v;
    std::memcpy(&v, reinterpret_cast<const unsigned char *>(&s) + offset, sizeof v);
    return v;
  });
}

rtnl_link_stats64 StatsOf(const nlattr *stats64, const nlattr *stats32) {
  rtnl_link_stats64 stats{};
  if (stats64 != nullptr) {
    std::memcpy(&stats, mnl_attr_get_payload(stats64),
                std::min<std::size_t>(sizeof stats, mnl_attr_get_payload_len(stats64)));
  } else if (stats32 != nullptr) {
    rtnl_link_stats s32{};
    std::memcpy(&s32, mnl_attr_get_payload(stats32),
                std::min<std::size_t>(sizeof s32, mnl_attr_get_payload_len(stats32)));
    stats.rx_bytes = s32.rx_bytes;
    stats.tx_bytes = s32.tx_bytes;
    stats.rx_packets = s32.rx_packets;
    stats.tx_packets = s32.tx_packets;
    stats.multicast = s32.multicast;
    stats.rx_dropped = s32.rx_dropped;
    stats.tx_dropped = s32.tx_dropped;
    stats.rx_errors = s32.rx_errors;
    stats.tx_errors = s32.tx_errors;
    stats.rx_nohandler = s32.rx_nohandler;
  }
  return stats;
}

// The counters of one RTM_NEWSTATS message, read straight from its
// IFLA_STATS_LINK_64 attribute: a field the kernel's (older, shorter) struct
// lacks reads as 0, and so do all of them when the attribute is missing.
// This runs once per link per snapshot, so it walks the attributes itself
// instead of collecting them through callbacks.
std::array<std::uint32_t, 10> CountersOfStatsMessage(const nlmsghdr &message) {
  const auto *base = static_cast<const unsigned char *>(mnl_nlmsg_get_payload(&message));
  const std::size_t total = mnl_nlmsg_get_payload_len(&message);
  std::size_t at = MNL_ALIGN(sizeof(if_stats_msg));
  while (at + sizeof(nlattr) <= total) {
    nlattr attr;
    std::memcpy(&attr, base + at, sizeof attr);
    if (attr.nla_len < sizeof(nlattr) || attr.nla_len > total - at) {
      break;
    }
    if ((attr.nla_type & NLA_TYPE_MASK) == IFLA_STATS_LINK_64) {
      const unsigned char *payload = base + at + MNL_ATTR_HDRLEN;
      const std::size_t len = attr.nla_len - MNL_ATTR_HDRLEN;
      return CountersFrom([payload, len](std::size_t offset) {
        std::uint64_t v = 0;
        if (offset + sizeof v <= len) {
          std::memcpy(&v, payload + offset, sizeof v);
        }
        return v;
      });
    }
    at += MNL_ALIGN(attr.nla_len);
  }
  return {};
}

constexpr auto kRelearnPeriod = std::chrono::seconds(2);

// extMask: IFLA_EXT_MASK bits for RTM_GETLINK, 0 for none.
std::vector<std::byte> DumpRequest(std::uint16_t type, const void *header, std::size_t headerSize,
                                   std::uint32_t extMask = 0) {
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

LinuxIfTable::LinuxIfTable(Mode mode) : m_mode(mode), m_socket(std::make_unique<NetlinkSocket>()) {
  ifinfomsg link{};
  link.ifi_family = AF_UNSPEC;
  m_linkRequest = DumpRequest(RTM_GETLINK, &link, sizeof link);
  m_linkRequestNoStats = DumpRequest(RTM_GETLINK, &link, sizeof link, RTEXT_FILTER_SKIP_STATS);
  if_stats_msg stats{};
  stats.family = AF_UNSPEC;
  stats.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
  m_statsRequest = DumpRequest(RTM_GETSTATS, &stats, sizeof stats);

  m_ioctlFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_ioctlFd < 0) {
    m_ioctlFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  }
}

LinuxIfTable::~LinuxIfTable() {
  if (m_ioctlFd >= 0) {
    ::close(m_ioctlFd);
  }
}

std::uint32_t LinuxIfTable::ReadSpeed(const std::string &name) {
  if (m_ioctlFd < 0 || name.size() >= IFNAMSIZ) {
    return 0;
  }
  ethtool_cmd cmd{};
  cmd.cmd = ETHTOOL_GSET;
  ifreq ifr{};
  std::memcpy(ifr.ifr_name, name.c_str(), name.size() + 1);
  ifr.ifr_data = reinterpret_cast<char *>(&cmd);
  if (::ioctl(m_ioctlFd, SIOCETHTOOL, &ifr) < 0) {
    return 0;
  }
  const std::uint32_t mbits = ethtool_cmd_speed(&cmd);
  if (mbits == 0 || mbits == static_cast<std::uint32_t>(SPEED_UNKNOWN)) {
    return 0;
  }
  const std::uint64_t bits = static_cast<std::uint64_t>(mbits) * 1'000'000;
  return bits > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(bits);
}

// Takes in one RTM_NEWLINK (from a dump or a notification): the link's row
// template, re-learning the slow facts (udev, speed) only when they may have
// changed.
void LinuxIfTable::Learn(const nlmsghdr &message) {
  const auto *ifm = static_cast<const ifinfomsg *>(mnl_nlmsg_get_payload(&message));
  Attributes attrs;
  if (mnl_attr_parse(&message, sizeof(*ifm), CollectAttribute, &attrs) < 0) {
    return;
  }
  const auto &tb = attrs.tb;
  const auto ifindex = static_cast<std::uint32_t>(ifm->ifi_index);
  std::string name = AttributeText(tb[IFLA_IFNAME]);
  std::string kind = LinkKind(tb[IFLA_LINKINFO]);
  std::string alias = AttributeText(tb[IFLA_IFALIAS]);
  auto [it, fresh] = m_links.try_emplace(ifindex);
  Link &link = it->second;
  // The periodic re-read finds most links as they were: a message the same
  // as the last one for this link changes nothing (counters are not in it on
  // the cached path, and the full-dump path always takes them).
  const std::string_view payload(static_cast<const char *>(mnl_nlmsg_get_payload(&message)),
                                 mnl_nlmsg_get_payload_len(&message));
  const std::size_t digest = std::hash<std::string_view>{}(payload);
  if (!fresh && m_mode == Mode::Cached && digest == link.messageDigest) {
    return;
  }
  link.messageDigest = digest;
  m_packedStale = true;
  if (fresh || link.name != name || link.kind != kind) {
    link = Link{};
    link.messageDigest = digest;
    // Only hardware links (no driver kind) are worth asking udev about.
    if (kind.empty() && (ifm->ifi_type == ARPHRD_ETHER || IsWirelessType(ifm->ifi_type))) {
      link.hardware = m_hardware.Lookup(name, ifindex);
    }
    link.baseDescription =
        (link.hardware.adapter.empty() ? KindText(kind, ifm->ifi_type, link.hardware.wireless)
                                       : link.hardware.adapter) +
        " (" + name + ")";
    CutUtf8(link.baseDescription, kMaxDescriptionBytes);
    link.name = std::move(name);
    link.kind = std::move(kind);
    m_descriptionsDirty = true;
  }
  if (alias != link.alias) {
    link.alias = std::move(alias);
    m_descriptionsDirty = true;
  }

  const unsigned flags = ifm->ifi_flags;
  const bool up = (flags & IFF_UP) != 0;
  const bool carrier =
      tb[IFLA_CARRIER] != nullptr ? mnl_attr_get_u8(tb[IFLA_CARRIER]) != 0 : (flags & IFF_LOWER_UP) != 0;
  std::uint32_t oper = kOperNonOperational;
  if (!up || !carrier) {
    oper = kOperDisconnected;
  } else if (flags & IFF_RUNNING) {
    oper = kOperOperational;
  }
  // Linux keeps no time of the last state change; we note when we saw it.
  if (oper != link.operStatus) {
    link.operStatus = oper;
    link.lastChange = CentisecondsSinceBoot();
  }
  if (flags != link.speedFlags) {
    link.speedFlags = flags;
    link.speed = ReadSpeed(link.name);
  }
  if (tb[IFLA_STATS64] != nullptr || tb[IFLA_STATS] != nullptr) {
    link.counters = CountersOf(StatsOf(tb[IFLA_STATS64], tb[IFLA_STATS]));
  }

  std::byte *row = link.row.data();
  const std::uint32_t descrLen = LoadLe32(row + mib::kDescrLen);
  std::memset(row, 0, mib::kDescr); // everything before the description
  const auto utf16 = NameToUtf16(link.name);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    row[mib::kName + 2 * i] = static_cast<std::byte>(utf16[i] & 0xFF);
    row[mib::kName + 2 * i + 1] = static_cast<std::byte>(utf16[i] >> 8);
  }
  // NameToUtf16 always leaves a terminator.
  const auto units = std::find(utf16.begin(), utf16.end(), u'\0') - utf16.begin();
  link.nameBytes = 2 * (static_cast<std::size_t>(units) + 1);
  auto put = [row](std::size_t offset, std::uint32_t v) { StoreLe32(row + offset, v); };
  put(mib::kIndex, ifindex);
  put(mib::kType, IanaType(ifm->ifi_type, link.hardware.wireless));
  put(mib::kMtu, tb[IFLA_MTU] ? mnl_attr_get_u32(tb[IFLA_MTU]) : 0);
  put(mib::kSpeed, link.speed);
  if (tb[IFLA_ADDRESS] != nullptr) {
    const std::size_t len =
        std::min<std::size_t>(mnl_attr_get_payload_len(tb[IFLA_ADDRESS]), mib::kPhysAddrMax);
    std::memcpy(row + mib::kPhysAddr, mnl_attr_get_payload(tb[IFLA_ADDRESS]), len);
    put(mib::kPhysAddrLen, static_cast<std::uint32_t>(len));
  }
  put(mib::kAdminStatus, up ? kAdminUp : kAdminDown);
  put(mib::kOperStatus, oper);
  put(mib::kLastChange, link.lastChange);
  // kOutNUcastPkts stays 0 (Linux does not count sent multicast apart), and
  // so does kOutQLen; the description is set by ResolveDescriptions.
  put(mib::kDescrLen, descrLen); // the description is ResolveDescriptions' to set
}

void LinuxIfTable::ApplyNotification(const nlmsghdr &message) {
  const auto *ifm = static_cast<const ifinfomsg *>(mnl_nlmsg_get_payload(&message));
  if (ifm->ifi_family != AF_UNSPEC) {
    return; // a bridge's news about its port (AF_BRIDGE), not the link itself
  }
  if (message.nlmsg_type == RTM_NEWLINK) {
    Learn(message);
  } else if (message.nlmsg_type == RTM_DELLINK) {
    if (m_links.erase(static_cast<std::uint32_t>(ifm->ifi_index)) > 0) {
      m_descriptionsDirty = true;
      m_packedStale = true;
    }
  }
}

// Descriptions: the alias a person gave the link, else the adapter or kind
// with the name; made unique as Windows does (" #2"), in ifindex order so the
// lower index keeps the plain text.
void LinuxIfTable::ResolveDescriptions() {
  if (!m_descriptionsDirty) {
    return;
  }
  m_descriptionsDirty = false;
  m_packedStale = true;
  std::vector<std::uint32_t> order;
  order.reserve(m_links.size());
  for (const auto &[index, link] : m_links) {
    order.push_back(index);
  }
  std::sort(order.begin(), order.end());
  std::unordered_set<std::string> used;
  used.reserve(m_links.size());
  for (const std::uint32_t index : order) {
    Link &link = m_links.at(index);
    std::string description = link.alias.empty() ? link.baseDescription : link.alias;
    CutUtf8(description, kMaxDescriptionBytes);
    if (!used.insert(description).second) {
      for (unsigned n = 2;; ++n) {
        const std::string suffix = " #" + std::to_string(n);
        std::string candidate = description;
        CutUtf8(candidate, kMaxDescriptionBytes - suffix.size());
        candidate += suffix;
        if (used.insert(candidate).second) {
          description = std::move(candidate);
          break;
        }
      }
    }
    std::memset(link.row.data() + mib::kDescr, 0, mib::kDescrMax);
    std::memcpy(link.row.data() + mib::kDescr, description.data(), description.size());
    StoreLe32(link.row.data() + mib::kDescrLen, static_cast<std::uint32_t>(description.size()));
  }
}

namespace {

// A packed row: the name's and the description's lengths in bytes (16 bits
// each), the fixed fields as the table lays them out (index up to the
// description's length), the UTF-16 name with its terminator, the
// description; then padding to 8 bytes.
constexpr std::size_t kPackedNameBytes = 0;
constexpr std::size_t kPackedDescrLen = 2;
constexpr std::size_t kPackedFixed = 4;
constexpr std::size_t kFixedBytes = mib::kDescr - mib::kIndex;
constexpr std::size_t kPackedName = kPackedFixed + kFixedBytes;

std::size_t Load16(const std::byte *p) {
  return static_cast<std::size_t>(p[0]) | static_cast<std::size_t>(p[1]) << 8;
}

void Store16(std::byte *p, std::size_t v) {
  p[0] = static_cast<std::byte>(v & 0xFF);
  p[1] = static_cast<std::byte>((v >> 8) & 0xFF);
}

std::uint32_t PackedIndex(const std::byte *packed) { return LoadLe32(packed + kPackedFixed); }

template <typename Counters> void PatchCounters(std::byte *packed, const Counters &c) {
  auto put = [packed](std::size_t offset, std::uint32_t v) {
    StoreLe32(packed + kPackedFixed + (offset - mib::kIndex), v);
  };
  put(mib::kInOctets, c[kRxBytes]);
  put(mib::kInUcastPkts, c[kRxUcast]);
  put(mib::kInNUcastPkts, c[kRxMulticast]);
  put(mib::kInDiscards, c[kRxDropped]);
  put(mib::kInErrors, c[kRxErrors]);
  put(mib::kInUnknownProtos, c[kRxNoHandler]);
  put(mib::kOutOctets, c[kTxBytes]);
  put(mib::kOutUcastPkts, c[kTxPackets]);
  put(mib::kOutDiscards, c[kTxDropped]);
  put(mib::kOutErrors, c[kTxErrors]);
}

} // namespace

void LinuxIfTable::AppendRow(const Link &link, const Counters &counters) {
  const std::byte *from = link.row.data();
  const std::size_t descrLen = std::min<std::size_t>(LoadLe32(from + mib::kDescrLen), mib::kDescrMax);
  const std::size_t at = m_packed.size();
  m_packed.resize(at + ((kPackedName + link.nameBytes + descrLen + 7) & ~std::size_t{7}));
  std::byte *packed = m_packed.data() + at;
  Store16(packed + kPackedNameBytes, link.nameBytes);
  Store16(packed + kPackedDescrLen, descrLen);
  std::memcpy(packed + kPackedFixed, from + mib::kIndex, kFixedBytes);
  std::memcpy(packed + kPackedName, from + mib::kName, link.nameBytes);
  std::memcpy(packed + kPackedName + link.nameBytes, from + mib::kDescr, descrLen);
  PatchCounters(packed, counters);
  m_rowOffsets.push_back(static_cast<std::uint32_t>(at));
}

void LinuxIfTable::TruncateRows(std::size_t rows) {
  if (rows < m_rowOffsets.size()) {
    m_packed.resize(m_rowOffsets[rows]);
    m_rowOffsets.resize(rows);
  }
}

void LinuxIfTable::WriteRow(std::byte *row, const std::byte *packed) {
  // Bytes past the name's terminator and the description's length carry
  // nothing (the decoder never reads them), so they are left as they are:
  // a row costs about 150 bytes of writing instead of 860.
  const std::size_t nameBytes = Load16(packed + kPackedNameBytes);
  std::memcpy(row + mib::kName, packed + kPackedName, nameBytes);
  std::memcpy(row + mib::kIndex, packed + kPackedFixed, kFixedBytes);
  std::memcpy(row + mib::kDescr, packed + kPackedName + nameBytes, Load16(packed + kPackedDescrLen));
}

bool LinuxIfTable::TakeInNotifications() {
  if (m_notifications->DrainNotifications([this](const nlmsghdr &m) { ApplyNotification(m); }) ==
      NetlinkSocket::Drain::Ok) {
    return true;
  }
  m_linksKnown = false; // overflow: some changes were lost, read the links whole
  m_resubscribe = true; // on a new socket
  return false;
}

// Joins the link notifications, then reads every link whole; a change in
// between arrives as a notification too, so nothing is missed. A socket that
// has lost nothing is kept (the periodic read): what waits in it is taken in
// first, so the dump has the last word. Before the first read, and after an
// overflow or a link we never heard of, a new one is joined.
bool LinuxIfTable::Relearn() {
  if (m_mode == Mode::Cached) {
    const bool keep = !m_resubscribe && m_notifications && m_notifications->Valid() && TakeInNotifications();
    if (!keep) {
      m_notifications = std::make_unique<NetlinkSocket>(RTMGRP_LINK);
      m_resubscribe = false;
    }
  }
  if (!m_socket->Valid()) {
    m_socket = std::make_unique<NetlinkSocket>();
  }
  // Links keep what they learnt (udev, speed) unless their name or kind
  // changed; those the dump no longer lists are dropped after it.
  m_fullDumpOrder.clear();
  m_learntAt = std::chrono::steady_clock::now();
  const bool ok = m_socket->Dump(
      m_mode == Mode::Cached ? m_linkRequestNoStats : m_linkRequest, [this](const nlmsghdr &m) {
        if (m.nlmsg_type == RTM_NEWLINK) {
          Learn(m);
          m_fullDumpOrder.push_back(static_cast<std::uint32_t>(
              static_cast<const ifinfomsg *>(mnl_nlmsg_get_payload(&m))->ifi_index));
        }
      });
  if (ok && m_fullDumpOrder.size() != m_links.size()) {
    std::unordered_set<std::uint32_t> listed(m_fullDumpOrder.begin(), m_fullDumpOrder.end());
    std::erase_if(m_links, [&](const auto &entry) { return listed.count(entry.first) == 0; });
    m_packedStale = true;
    m_descriptionsDirty = true;
  }
  m_linksKnown = ok && (m_mode == Mode::FullDump || m_notifications->Valid());
  return ok;
}

bool LinuxIfTable::SnapshotFromFullDump() {
  if (!Relearn()) {
    m_socket = std::make_unique<NetlinkSocket>();
    if (!Relearn()) {
      return false;
    }
  }
  ResolveDescriptions();
  TruncateRows(0);
  for (const std::uint32_t index : m_fullDumpOrder) {
    const auto it = m_links.find(index);
    if (it != m_links.end()) {
      AppendRow(it->second, it->second.counters);
    }
  }
  return true;
}

bool LinuxIfTable::SnapshotFromStats() {
  const auto now = std::chrono::steady_clock::now();
  if (now - m_learntAt > kRelearnPeriod) {
    m_linksKnown = false;
  }
  if (!m_linksKnown && !Relearn()) {
    return false;
  }
  if (!TakeInNotifications()) {
    if (!Relearn()) {
      return false;
    }
  }
  m_newsTakenAt = now;
  ResolveDescriptions();
  m_unknownLink = false;
  if (m_packedStale) {
    TruncateRows(0); // a link changed: pack every row afresh
    m_packedStale = false;
  }
  // The rows of the last snapshot stay packed in the order the kernel listed
  // them, and the next dump almost always lists the same links in the same
  // order: then a row only takes its new counters, in place. From the first
  // link that differs on, rows are packed again from the links.
  std::size_t position = 0;
  const bool ok = m_socket->Dump(m_statsRequest, [this, &position](const nlmsghdr &m) {
    if (m.nlmsg_type != RTM_NEWSTATS) {
      return;
    }
    const auto ifindex = static_cast<const if_stats_msg *>(mnl_nlmsg_get_payload(&m))->ifindex;
    if (position < m_rowOffsets.size()) {
      std::byte *packed = m_packed.data() + m_rowOffsets[position];
      if (PackedIndex(packed) == ifindex) {
        PatchCounters(packed, CountersOfStatsMessage(m));
        ++position;
        return;
      }
      TruncateRows(position);
    }
    const auto it = m_links.find(ifindex);
    if (it == m_links.end()) {
      m_unknownLink = true;
      return;
    }
    AppendRow(it->second, CountersOfStatsMessage(m));
    ++position;
  });
  TruncateRows(position);
  if (!ok) {
    return false;
  }
  if (m_unknownLink) {
    m_linksKnown = false; // a link we never heard of: learn them all again
    m_resubscribe = true;
  }
  return !m_unknownLink;
}

bool LinuxIfTable::Snapshot() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool ok = false;
    if (m_mode == Mode::Cached && m_statsSupported) {
      ok = SnapshotFromStats();
      if (!ok && m_linksKnown && !m_unknownLink) {
        // The kernel has no RTM_GETSTATS (before 4.7): full dumps from now on.
        m_statsSupported = false;
      }
    }
    if (!ok && (m_mode == Mode::FullDump || !m_statsSupported)) {
      ok = SnapshotFromFullDump();
    }
    if (ok) {
      return true;
    }
    if (!m_unknownLink) {
      m_socket = std::make_unique<NetlinkSocket>(); // try once more on new sockets
      m_linksKnown = false;
      m_resubscribe = true;
    }
  }
  return false;
}

std::uint32_t LinuxIfTable::GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) {
  constexpr std::uint32_t kErrorInvalidParameter = 87;
  if (pdwSize == nullptr) {
    return kErrorInvalidParameter;
  }
  if (pIfTable == nullptr || !m_pending) {
    if (!Snapshot()) {
      m_pending = false;
      return kErrorNotSupported;
    }
  }
  m_pending = false;
  const auto needed = static_cast<std::uint32_t>(mib::TableSize(m_rowOffsets.size()));
  if (pIfTable == nullptr || *pdwSize < needed) {
    *pdwSize = needed;
    m_pending = true;
    return kErrorInsufficientBuffer;
  }
  const std::vector<std::uint32_t> *order = &m_rowOffsets;
  std::vector<std::uint32_t> sorted;
  if (bOrder) {
    sorted = m_rowOffsets;
    std::stable_sort(sorted.begin(), sorted.end(), [this](std::uint32_t a, std::uint32_t b) {
      return PackedIndex(m_packed.data() + a) < PackedIndex(m_packed.data() + b);
    });
    order = &sorted;
  }
  // The rows go straight into the caller's buffer: one write of the image,
  // read from the packed rows front to back.
  StoreLe32(pIfTable, static_cast<std::uint32_t>(order->size()));
  for (std::size_t i = 0; i < order->size(); ++i) {
    WriteRow(pIfTable + mib::TableSize(i), m_packed.data() + (*order)[i]);
  }
  *pdwSize = needed;
  return kNoError;
}

std::uint32_t LinuxIfTable::GetNumberOfInterfaces(std::uint32_t *pdwNumIf) {
  constexpr std::uint32_t kErrorInvalidParameter = 87;
  if (pdwNumIf == nullptr) {
    return kErrorInvalidParameter;
  }
  // Between a size query and its fill the count must be that of the rows
  // about to be handed out, which a notification taken in now would not be.
  if (m_mode != Mode::Cached || !m_statsSupported || !m_linksKnown || m_pending) {
    return kErrorNotSupported;
  }
  // Every link of the namespace is in the counters dump, so the rows of a
  // snapshot are exactly the links known once the notifications are in.
  // A count asked for right after a snapshot (as the monitor's tick does)
  // is that snapshot's: news that came in the microseconds since then shows
  // at the next look, as it would had it come a moment later. That spares a
  // system call per tick.
  constexpr auto kNewsFreshFor = std::chrono::microseconds(100);
  const auto now = std::chrono::steady_clock::now();
  if (now - m_newsTakenAt > kNewsFreshFor) {
    if (!TakeInNotifications()) {
      return kErrorNotSupported;
    }
    m_newsTakenAt = now;
  }
  *pdwNumIf = static_cast<std::uint32_t>(m_links.size());
  return kNoError;
}

std::shared_ptr<IIfTable> MakePlatformIfTable() { return std::make_shared<LinuxIfTable>(); }

} // namespace tallyflow
