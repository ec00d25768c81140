#pragma once

#include "platform/linux/UniqueFd.h"
#include "platform/linux/iftable/HardwareDatabase.h"
#include "platform/linux/iftable/NetlinkSocket.h"
#include "platform/linux/iftable/TableRows.h"
#include "services/IMonotonicClock.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct nlmsghdr;

namespace tallyflow {

// The links of the network namespace with everything their rows hold but
// the counters. One RTM_GETLINK dump reads them whole; the kernel's link
// notifications keep them fresh between dumps (a changed MTU, a rename, a
// link going up or down, a new or deleted link). The kernel sends no
// notification when the alias of a link that is down changes, so they are
// also read whole every 2 seconds.
class LinkCache {
public:
  // followNotifications false: every Refresh reads the links whole, with
  // their counters (the full-dump path). The clock times the re-reads; it
  // must outlive the cache.
  LinkCache(bool followNotifications, const IMonotonicClock &clock);

  struct Link {
    RowFacts row;
    Counters counters{}; // from the link dump: the full-dump path only
  };

  // Brings the links up to date: the waiting notifications taken in, the
  // links read whole when that is due. False when the kernel could not be
  // read.
  bool Refresh(NetlinkSocket &dumps);
  // Takes in the notifications that wait, without a dump; false when they
  // overflowed, and then the next Refresh reads the links whole.
  bool TakeInNotifications();
  // A link turned up that no notification told of: read them whole, on a
  // new notification socket, at the next Refresh.
  void Forget() { m_state = State::Unknown; }
  bool Known() const { return m_state == State::Known; }

  const Link *Find(std::uint32_t index) const;
  std::size_t Count() const { return m_links.size(); }
  // The links in the order the last whole read listed them.
  const std::vector<std::uint32_t> &DumpOrder() const { return m_dumpOrder; }
  // Changes whenever any link's row would.
  std::uint64_t Generation() const { return m_generation; }

private:
  // Where the cache stands:
  //   Unknown     --Refresh: new notification socket, whole read--> Known
  //   DueForRead  --Refresh: whole read, the socket kept------------> Known
  //   Known       --2 s passed--> DueForRead
  //   any         --overflow, Forget, a failed read--> Unknown
  enum class State { Unknown, DueForRead, Known };

  struct Entry {
    Link link;
    std::string name, kind, alias;
    std::string baseDescription;
    bool wireless = false;
    std::uint32_t operStatus = ~0u; // as last seen: a change is noted with its time
    unsigned speedFlags = ~0u;      // link flags the speed was read under
    std::size_t messageDigest = 0;  // of the last RTM_NEWLINK taken in
  };

  bool ReadWhole(NetlinkSocket &dumps);
  // Takes in one RTM_NEWLINK, read as `news`.
  void Learn(const nlmsghdr &message, const LinkMessage &news);
  void ApplyNotification(const nlmsghdr &message);
  void ResolveDescriptions();
  std::uint32_t ReadSpeed(const std::string &name) const;

  const bool m_followNotifications;
  State m_state = State::Unknown;
  std::unique_ptr<NetlinkSocket> m_notifications;
  std::vector<std::byte> m_request;
  HardwareDatabase m_hardware;
  UniqueFd m_ioctl; // for the ethtool speed
  const IMonotonicClock &m_clock;
  std::chrono::nanoseconds m_readAt{};              // on m_clock
  std::unordered_map<std::uint32_t, Entry> m_links; // by ifindex
  std::vector<std::uint32_t> m_dumpOrder;
  std::uint64_t m_generation = 0;
  bool m_namesChanged = false; // a name, kind or alias changed since descriptions were made
};

} // namespace tallyflow
