#include "platform/linux/iftable/LinkVocabulary.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace tallyflow {

LinkClass ClassifyLink(unsigned short arphrd, bool wireless) {
  switch (arphrd) {
  case ARPHRD_LOOPBACK:
    return LinkClass::Loopback;
  case ARPHRD_IEEE80211:
  case ARPHRD_IEEE80211_PRISM:
  case ARPHRD_IEEE80211_RADIOTAP:
    return LinkClass::Wireless;
  default:
    break;
  }
  if (wireless) {
    return LinkClass::Wireless;
  }
  switch (arphrd) {
  case ARPHRD_PPP:
    return LinkClass::Ppp;
  case ARPHRD_TUNNEL:
  case ARPHRD_TUNNEL6:
  case ARPHRD_SIT:
  case ARPHRD_IPGRE:
  case ARPHRD_IP6GRE:
  case ARPHRD_NONE: // tun devices
    return LinkClass::Tunnel;
  case ARPHRD_ETHER:
  case ARPHRD_EETHER:
    return LinkClass::Ethernet;
  default:
    return LinkClass::Other;
  }
}

namespace {
struct ClassNames {
  std::uint32_t ianaType;
  const char *word;
};
// By LinkClass, in its order.
constexpr ClassNames kClassNames[] = {
    {24, "Loopback"}, {71, "Wireless"}, {23, "PPP"},
    {131, "Tunnel"},  {6, "Ethernet"},  {1, "Network interface"},
};
} // namespace

std::uint32_t IanaType(LinkClass linkClass) { return kClassNames[static_cast<int>(linkClass)].ianaType; }

std::string KindWord(LinkClass linkClass, const std::string &driverKind) {
  static const std::unordered_map<std::string, std::string> kDriverKinds = {
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
  if (linkClass != LinkClass::Loopback) {
    if (const auto it = kDriverKinds.find(driverKind); it != kDriverKinds.end()) {
      return it->second;
    }
  }
  return kClassNames[static_cast<int>(linkClass)].word;
}

std::uint32_t OperStatus(unsigned flags, std::optional<bool> carrier) {
  const bool up = (flags & IFF_UP) != 0;
  if (!up || !carrier.value_or((flags & IFF_LOWER_UP) != 0)) {
    return kOperDisconnected;
  }
  return (flags & IFF_RUNNING) != 0 ? kOperOperational : kOperNonOperational;
}

void CutUtf8(std::string &text, std::size_t limit) {
  if (text.size() <= limit) {
    return;
  }
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    --end; // back to the first byte of the character cut through
  }
  text.resize(end);
}

std::string BaseDescription(const std::string &adapter, const std::string &kindWord,
                            const std::string &name) {
  // The names as the kernel and the hardware database give them: the table
  // holds data, and whoever shows it makes it safe to show, once.
  std::string description = (adapter.empty() ? kindWord : adapter) + " (" + name + ")";
  CutUtf8(description, kMaxDescriptionBytes);
  return description;
}

std::vector<std::string> UniqueDescriptions(const std::vector<std::string> &wanted) {
  std::vector<std::string> out;
  out.reserve(wanted.size());
  std::unordered_set<std::string> used;
  used.reserve(wanted.size());
  for (const std::string &plain : wanted) {
    std::string description = plain;
    CutUtf8(description, kMaxDescriptionBytes);
    for (unsigned n = 2; !used.insert(description).second; ++n) {
      const std::string suffix = " #" + std::to_string(n);
      description = plain;
      CutUtf8(description, kMaxDescriptionBytes - suffix.size());
      description += suffix;
    }
    out.push_back(std::move(description));
  }
  return out;
}

std::u16string NameToUtf16(const std::string &name) {
  std::u16string out;
  // The table holds 256 units with the terminator.
  auto put = [&](char32_t cp) {
    if (cp >= 0x10000) {
      if (out.size() + 2 < mib::kNameChars) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      }
    } else if (out.size() + 1 < mib::kNameChars) {
      out += static_cast<char16_t>(cp);
    }
  };
  const auto *s = reinterpret_cast<const unsigned char *>(name.data());
  const std::size_t n = name.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
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
    put(valid ? cp : c);
    i += valid ? len : 1;
  }
  // A NUL byte in the name ends it, as the C string it is.
  out.resize(std::min(out.size(), out.find(u'\0')));
  return out;
}

} // namespace tallyflow
