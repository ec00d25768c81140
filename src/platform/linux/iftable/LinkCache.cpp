#include "platform/linux/iftable/LinkCache.h"

#include "platform/linux/iftable/LinkVocabulary.h"

#include <libmnl/libmnl.h>
#include <linux/ethtool.h>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/rtnetlink.h>
#include <linux/sockios.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unordered_set>

namespace tallyflow {
namespace {

constexpr auto kRereadPeriod = std::chrono::seconds(2);

std::uint32_t CentisecondsSinceBoot() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 100 +
                                    static_cast<std::uint64_t>(ts.tv_nsec) / 10'000'000);
}

UniqueFd IoctlSocket() {
  UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  return fd ? std::move(fd) : UniqueFd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
}

} // namespace

LinkCache::LinkCache(bool followNotifications, const IMonotonicClock &clock)
    : m_followNotifications(followNotifications), m_request(LinkDumpRequest(!followNotifications)),
      m_ioctl(IoctlSocket()), m_clock(clock) {}

bool LinkCache::Refresh(NetlinkSocket &dumps) {
  if (m_state == State::Known && m_clock.Now() - m_readAt > kRereadPeriod) {
    m_state = State::DueForRead;
  }
  if (m_followNotifications && m_state == State::Known && TakeInNotifications()) {
    return true;
  }
  return ReadWhole(dumps);
}

bool LinkCache::TakeInNotifications() {
  if (!m_notifications) {
    return false;
  }
  const auto drained =
      m_notifications->DrainNotifications([this](const nlmsghdr &m) { ApplyNotification(m); });
  ResolveDescriptions();
  if (drained != NetlinkSocket::Drain::Ok) {
    m_state = State::Unknown; // some news was lost: read the links whole
    return false;
  }
  return true;
}

// Joins the notifications, then reads every link whole: a change in between
// arrives as a notification too, so nothing is missed. A socket that has lost
// nothing is kept for the periodic read, what waits in it taken in first so
// that the dump has the last word.
bool LinkCache::ReadWhole(NetlinkSocket &dumps) {
  if (m_followNotifications) {
    const bool keep =
        m_state == State::DueForRead && m_notifications && m_notifications->Valid() && TakeInNotifications();
    if (!keep) {
      m_notifications = std::make_unique<NetlinkSocket>(RTMGRP_LINK);
    }
  }
  // Links keep what they learnt (udev, speed) unless their name or kind
  // changed; those the dump no longer lists are dropped after it.
  m_dumpOrder.clear();
  m_readAt = m_clock.Now();
  const bool ok = dumps.Dump(m_request, [this](const nlmsghdr &m) {
    if (m.nlmsg_type == RTM_NEWLINK) {
      if (const auto news = ReadLinkMessage(m)) {
        Learn(m, *news);
        m_dumpOrder.push_back(news->index);
      }
    }
  });
  if (ok && m_dumpOrder.size() != m_links.size()) {
    const std::unordered_set<std::uint32_t> listed(m_dumpOrder.begin(), m_dumpOrder.end());
    std::erase_if(m_links, [&](const auto &entry) { return !listed.contains(entry.first); });
    ++m_generation;
    m_namesChanged = true;
  }
  ResolveDescriptions();
  const bool listening = !m_followNotifications || m_notifications->Valid();
  m_state = ok && listening ? State::Known : State::Unknown;
  return ok;
}

void LinkCache::Learn(const nlmsghdr &message, const LinkMessage &news) {
  auto [it, fresh] = m_links.try_emplace(news.index);
  Entry &e = it->second;
  // The periodic read finds most links as they were: a message the same as
  // the last one for this link changes nothing (it carries no counters when
  // notifications are followed).
  const std::string_view payload(static_cast<const char *>(mnl_nlmsg_get_payload(&message)),
                                 mnl_nlmsg_get_payload_len(&message));
  const std::size_t digest = std::hash<std::string_view>{}(payload);
  if (!fresh && m_followNotifications && digest == e.messageDigest) {
    return;
  }
  ++m_generation;
  if (fresh || e.name != news.name || e.kind != news.kind) {
    e = Entry{};
    // Only hardware links (no driver kind) are worth asking udev about.
    const bool hardware = news.kind.empty() && (news.arphrd == ARPHRD_ETHER ||
                                                ClassifyLink(news.arphrd, false) == LinkClass::Wireless);
    const LinkHardware found = hardware ? m_hardware.Lookup(news.name, news.index) : LinkHardware{};
    e.wireless = found.wireless;
    e.baseDescription =
        BaseDescription(found.adapter, KindWord(ClassifyLink(news.arphrd, e.wireless), news.kind), news.name);
    e.name = news.name;
    e.kind = news.kind;
    e.link.row.name = NameToUtf16(news.name);
    m_namesChanged = true;
  }
  e.messageDigest = digest;
  if (news.alias != e.alias) {
    e.alias = news.alias;
    m_namesChanged = true;
  }
  RowFacts &row = e.link.row;
  row.index = news.index;
  row.type = IanaType(ClassifyLink(news.arphrd, e.wireless));
  row.mtu = news.mtu;
  row.address = news.address;
  row.adminStatus = (news.flags & IFF_UP) != 0 ? kAdminUp : kAdminDown;
  const std::uint32_t oper = OperStatus(news.flags, news.carrier);
  if (oper != e.operStatus) {
    // Linux keeps no time of the last state change: we note when we saw it.
    e.operStatus = row.operStatus = oper;
    row.lastChange = CentisecondsSinceBoot();
  }
  if (news.flags != e.speedFlags) {
    e.speedFlags = news.flags;
    row.speed = ReadSpeed(e.name);
  }
  if (news.counters) {
    e.link.counters = *news.counters;
  }
}

void LinkCache::ApplyNotification(const nlmsghdr &message) {
  if (message.nlmsg_type == RTM_NEWLINK || message.nlmsg_type == RTM_DELLINK) {
    const auto news = ReadLinkMessage(message);
    if (!news || news->family != AF_UNSPEC) {
      return; // malformed, or a bridge's news about its port (AF_BRIDGE)
    }
    if (message.nlmsg_type == RTM_NEWLINK) {
      Learn(message, *news);
    } else if (m_links.erase(news->index) > 0) {
      ++m_generation;
      m_namesChanged = true;
    }
  }
}

// In ifindex order, so that the lower index keeps the plain text.
void LinkCache::ResolveDescriptions() {
  if (!m_namesChanged) {
    return;
  }
  m_namesChanged = false;
  ++m_generation;
  std::vector<std::uint32_t> order;
  order.reserve(m_links.size());
  for (const auto &[index, entry] : m_links) {
    order.push_back(index);
  }
  std::sort(order.begin(), order.end());
  std::vector<std::string> wanted;
  wanted.reserve(order.size());
  for (const std::uint32_t index : order) {
    const Entry &e = m_links.at(index);
    wanted.push_back(e.alias.empty() ? e.baseDescription : e.alias);
  }
  auto descriptions = UniqueDescriptions(wanted);
  for (std::size_t i = 0; i < order.size(); ++i) {
    m_links.at(order[i]).link.row.description = std::move(descriptions[i]);
  }
}

const LinkCache::Link *LinkCache::Find(std::uint32_t index) const {
  const auto it = m_links.find(index);
  return it == m_links.end() ? nullptr : &it->second.link;
}

// bits per second; 0 when the driver does not say.
std::uint32_t LinkCache::ReadSpeed(const std::string &name) const {
  if (!m_ioctl || name.size() >= IFNAMSIZ) {
    return 0;
  }
  ethtool_cmd cmd{};
  cmd.cmd = ETHTOOL_GSET;
  ifreq ifr{};
  std::memcpy(ifr.ifr_name, name.c_str(), name.size() + 1);
  ifr.ifr_data = reinterpret_cast<char *>(&cmd);
  if (::ioctl(m_ioctl.get(), SIOCETHTOOL, &ifr) < 0) {
    return 0;
  }
  const std::uint32_t mbits = ethtool_cmd_speed(&cmd);
  if (mbits == 0 || mbits == static_cast<std::uint32_t>(SPEED_UNKNOWN)) {
    return 0;
  }
  const std::uint64_t bits = static_cast<std::uint64_t>(mbits) * 1'000'000;
  return bits > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(bits);
}

} // namespace tallyflow
