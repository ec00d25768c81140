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
#include <cstring>
#include <ctime>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

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

LinuxIfTable::LinuxIfTable() : m_socket(std::make_unique<NetlinkSocket>()) {
  // The RTM_GETLINK dump request, built once and reused.
  m_request.resize(MNL_ALIGN(sizeof(nlmsghdr)) + MNL_ALIGN(sizeof(ifinfomsg)) + 64);
  nlmsghdr *nlh = mnl_nlmsg_put_header(m_request.data());
  nlh->nlmsg_type = RTM_GETLINK;
  nlh->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  auto *ifm = static_cast<ifinfomsg *>(mnl_nlmsg_put_extra_header(nlh, sizeof(ifinfomsg)));
  ifm->ifi_family = AF_UNSPEC;
  m_request.resize(nlh->nlmsg_len);

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

LinuxIfTable::CachedLink &LinuxIfTable::Learn(std::uint32_t ifindex, const std::string &name,
                                              const std::string &kind, unsigned short arphrd) {
  auto [it, fresh] = m_links.try_emplace(ifindex);
  CachedLink &link = it->second;
  if (fresh || link.name != name || link.kind != kind) {
    link = CachedLink{};
    link.name = name;
    link.kind = kind;
    // Only hardware links (no driver kind) are worth asking udev about.
    if (kind.empty() && (arphrd == ARPHRD_ETHER || IsWirelessType(arphrd))) {
      link.hardware = m_hardware.Lookup(name, ifindex);
    }
    link.ianaType = IanaType(arphrd, link.hardware.wireless);
    link.baseDescription = (link.hardware.adapter.empty() ? KindText(kind, arphrd, link.hardware.wireless)
                                                          : link.hardware.adapter) +
                           " (" + name + ")";
    CutUtf8(link.baseDescription, kMaxDescriptionBytes);
  }
  return link;
}

void LinuxIfTable::AppendRow(const nlmsghdr &message) {
  if (message.nlmsg_type != RTM_NEWLINK) {
    return;
  }
  const auto *ifm = static_cast<const ifinfomsg *>(mnl_nlmsg_get_payload(&message));
  Attributes attrs;
  if (mnl_attr_parse(&message, sizeof(*ifm), CollectAttribute, &attrs) < 0) {
    return;
  }
  const auto &tb = attrs.tb;
  const std::string name = AttributeText(tb[IFLA_IFNAME]);
  const auto ifindex = static_cast<std::uint32_t>(ifm->ifi_index);
  CachedLink &link = Learn(ifindex, name, LinkKind(tb[IFLA_LINKINFO]), ifm->ifi_type);
  link.generation = m_generation;

  // Description: the alias a person gave the link, else the adapter or kind
  // with the name; made unique within this dump as Windows does (" #2").
  const std::string alias = AttributeText(tb[IFLA_IFALIAS]);
  std::string description = alias.empty() ? link.baseDescription : alias;
  CutUtf8(description, kMaxDescriptionBytes);
  if (!m_used.insert(description).second) {
    for (unsigned n = 2;; ++n) {
      const std::string suffix = " #" + std::to_string(n);
      std::string candidate = description;
      CutUtf8(candidate, kMaxDescriptionBytes - suffix.size());
      candidate += suffix;
      if (m_used.insert(candidate).second) {
        description = std::move(candidate);
        break;
      }
    }
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
    link.speed = ReadSpeed(name);
  }

  rtnl_link_stats64 stats{};
  if (tb[IFLA_STATS64] != nullptr) {
    std::memcpy(&stats, mnl_attr_get_payload(tb[IFLA_STATS64]),
                std::min<std::size_t>(sizeof stats, mnl_attr_get_payload_len(tb[IFLA_STATS64])));
  } else if (tb[IFLA_STATS] != nullptr) {
    rtnl_link_stats s32{};
    std::memcpy(&s32, mnl_attr_get_payload(tb[IFLA_STATS]),
                std::min<std::size_t>(sizeof s32, mnl_attr_get_payload_len(tb[IFLA_STATS])));
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

  const std::size_t at = mib::TableSize(m_rows);
  m_image.resize(at + mib::kRowSize);
  std::byte *row = m_image.data() + at;
  std::memset(row, 0, mib::kRowSize);
  const auto utf16 = NameToUtf16(name);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    row[mib::kName + 2 * i] = static_cast<std::byte>(utf16[i] & 0xFF);
    row[mib::kName + 2 * i + 1] = static_cast<std::byte>(utf16[i] >> 8);
  }
  auto put = [row](std::size_t offset, std::uint32_t v) { StoreLe32(row + offset, v); };
  put(mib::kIndex, ifindex);
  put(mib::kType, link.ianaType);
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
  put(mib::kInOctets, Low32(stats.rx_bytes));
  put(mib::kInUcastPkts, Low32(stats.rx_packets - std::min(stats.multicast, stats.rx_packets)));
  put(mib::kInNUcastPkts, Low32(stats.multicast));
  put(mib::kInDiscards, Low32(stats.rx_dropped));
  put(mib::kInErrors, Low32(stats.rx_errors));
  put(mib::kInUnknownProtos, Low32(stats.rx_nohandler));
  put(mib::kOutOctets, Low32(stats.tx_bytes));
  put(mib::kOutUcastPkts, Low32(stats.tx_packets));
  put(mib::kOutNUcastPkts, 0); // Linux does not count sent multicast apart
  put(mib::kOutDiscards, Low32(stats.tx_dropped));
  put(mib::kOutErrors, Low32(stats.tx_errors));
  put(mib::kOutQLen, 0);
  put(mib::kDescrLen, static_cast<std::uint32_t>(description.size()));
  std::memcpy(row + mib::kDescr, description.data(), description.size());
  ++m_rows;
}

bool LinuxIfTable::Snapshot() {
  ++m_generation;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!m_socket->Valid() || attempt > 0) {
      m_socket = std::make_unique<NetlinkSocket>();
    }
    m_image.assign(mib::kCountSize, std::byte{0});
    m_rows = 0;
    m_used.clear();
    if (m_socket->Dump(m_request, [this](const nlmsghdr &m) { AppendRow(m); })) {
      StoreLe32(m_image.data(), static_cast<std::uint32_t>(m_rows));
      std::erase_if(m_links, [this](const auto &entry) { return entry.second.generation != m_generation; });
      return true;
    }
  }
  return false;
}

void LinuxIfTable::SortRowsByIndex() {
  std::vector<std::pair<std::uint32_t, std::size_t>> order;
  order.reserve(m_rows);
  for (std::size_t i = 0; i < m_rows; ++i) {
    order.emplace_back(LoadLe32(m_image.data() + mib::TableSize(i) + mib::kIndex), i);
  }
  std::stable_sort(order.begin(), order.end());
  m_sorted.resize(m_image.size());
  std::memcpy(m_sorted.data(), m_image.data(), mib::kCountSize);
  for (std::size_t i = 0; i < m_rows; ++i) {
    std::memcpy(m_sorted.data() + mib::TableSize(i), m_image.data() + mib::TableSize(order[i].second),
                mib::kRowSize);
  }
  m_image.swap(m_sorted);
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
  const auto needed = static_cast<std::uint32_t>(m_image.size());
  if (pIfTable == nullptr || *pdwSize < needed) {
    *pdwSize = needed;
    m_pending = true;
    return kErrorInsufficientBuffer;
  }
  if (bOrder) {
    SortRowsByIndex();
  }
  std::memcpy(pIfTable, m_image.data(), needed);
  *pdwSize = needed;
  return kNoError;
}

std::shared_ptr<IIfTable> MakePlatformIfTable() { return std::make_shared<LinuxIfTable>(); }

} // namespace tallyflow
