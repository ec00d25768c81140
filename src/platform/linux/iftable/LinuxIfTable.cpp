#include "platform/linux/iftable/LinuxIfTable.h"

#include "platform/PlatformIfTable.h"

#include <linux/rtnetlink.h>

namespace tallyflow {

LinuxIfTable::LinuxIfTable(Mode mode, std::shared_ptr<const IMonotonicClock> clock)
    : m_clock(std::move(clock)), m_source(mode == Mode::Cached ? Source::Stats : Source::FullDump),
      m_socket(std::make_unique<NetlinkSocket>()),
      m_links(std::make_unique<LinkCache>(m_source == Source::Stats, *m_clock)),
      m_statsRequest(StatsDumpRequest()) {}

bool LinuxIfTable::Snapshot() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    Outcome outcome = Outcome::Failed;
    if (m_source == Source::Stats) {
      outcome = SnapshotFromStats();
      if (outcome == Outcome::Failed && m_links->Known()) {
        // The links were read but not their counters: a kernel without
        // RTM_GETSTATS (before 4.7). Full dumps from now on.
        m_source = Source::FullDump;
        m_links = std::make_unique<LinkCache>(false, *m_clock);
      }
    }
    if (outcome == Outcome::Ok || (m_source == Source::FullDump && SnapshotFromFullDump())) {
      return true;
    }
    if (outcome != Outcome::UnknownLink) {
      m_socket = std::make_unique<NetlinkSocket>(); // once more on new sockets
      m_links->Forget();
    }
  }
  return false;
}

// Each row: the cached link's facts with the counters the stats dump gives.
LinuxIfTable::Outcome LinuxIfTable::SnapshotFromStats() {
  if (!m_links->Refresh(*m_socket)) {
    return Outcome::Failed;
  }
  m_rows.Clear();
  bool unknown = false;
  const bool ok = m_socket->Dump(m_statsRequest, [&](const nlmsghdr &m) {
    const auto stats = m.nlmsg_type == RTM_NEWSTATS ? ReadStatsMessage(m) : std::nullopt;
    if (!stats) {
      return;
    }
    if (const LinkCache::Link *link = m_links->Find(stats->index)) {
      m_rows.Add(link->row, stats->counters);
    } else {
      unknown = true;
    }
  });
  if (!ok) {
    return Outcome::Failed;
  }
  if (unknown) {
    m_links->Forget(); // no notification told of it: read the links whole
    return Outcome::UnknownLink;
  }
  return Outcome::Ok;
}

bool LinuxIfTable::SnapshotFromFullDump() {
  if (!m_links->Refresh(*m_socket)) {
    m_socket = std::make_unique<NetlinkSocket>();
    if (!m_links->Refresh(*m_socket)) {
      return false;
    }
  }
  m_rows.Clear();
  for (const std::uint32_t index : m_links->DumpOrder()) {
    if (const LinkCache::Link *link = m_links->Find(index)) {
      m_rows.Add(link->row, link->counters);
    }
  }
  return true;
}

std::uint32_t LinuxIfTable::GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) {
  constexpr std::uint32_t kErrorInvalidParameter = 87;
  if (pdwSize == nullptr) {
    return kErrorInvalidParameter;
  }
  const bool fresh = pIfTable == nullptr || m_fill != Fill::Waiting;
  m_fill = Fill::None;
  if (fresh && !Snapshot()) {
    return kErrorNotSupported;
  }
  const auto needed = static_cast<std::uint32_t>(m_rows.TableBytes());
  if (pIfTable == nullptr || *pdwSize < needed) {
    *pdwSize = needed;
    m_fill = Fill::Waiting;
    return kErrorInsufficientBuffer;
  }
  m_rows.WriteTable(pIfTable, bOrder);
  *pdwSize = needed;
  return kNoError;
}

std::uint32_t LinuxIfTable::GetNumberOfInterfaces(std::uint32_t *pdwNumIf) {
  constexpr std::uint32_t kErrorInvalidParameter = 87;
  if (pdwNumIf == nullptr) {
    return kErrorInvalidParameter;
  }
  // Every link of the namespace is in the counters dump, so the rows of a
  // snapshot are exactly the links known once the notifications are in.
  if (m_source != Source::Stats || !m_links->Known() || m_fill == Fill::Waiting ||
      !m_links->TakeInNotifications()) {
    return kErrorNotSupported;
  }
  *pdwNumIf = static_cast<std::uint32_t>(m_links->Count());
  return kNoError;
}

std::shared_ptr<IIfTable> MakePlatformIfTable() { return std::make_shared<LinuxIfTable>(); }

} // namespace tallyflow
