#pragma once

#include "netstats/IfTable.h"
#include "platform/linux/iftable/LinkCache.h"
#include "platform/linux/iftable/NetlinkSocket.h"
#include "platform/linux/iftable/TableRows.h"
#include "services/IMonotonicClock.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tallyflow {

// GetIfTable on Linux: one row per link the kernel lists, written as the
// MIB_IFTABLE image Windows would hand out, so one decoder serves both
// systems. The kernel's 64-bit counters go into the 32-bit fields as their
// low 32 bits.
//
// A snapshot costs one RTM_GETSTATS dump that carries the counters alone
// (about 230 bytes a link); the rest of each row comes from the link cache,
// which notifications keep fresh. A link the cache has not heard of makes it
// read the links whole.
class LinuxIfTable final : public IIfTable {
public:
  // Cached: the counters dump with the cached links. FullDump: one
  // RTM_GETLINK dump with counters per snapshot (what a kernel without
  // RTM_GETSTATS gets; also the reference the cached rows are checked with).
  enum class Mode { Cached, FullDump };

  // The clock times the link cache's re-reads (the system's steady clock
  // unless a test brings its own).
  explicit LinuxIfTable(Mode mode = Mode::Cached,
                        std::shared_ptr<const IMonotonicClock> clock = std::make_shared<SteadyClock>());

  // A size query (no buffer) takes a fresh snapshot; the fill call that
  // follows it is served from that same snapshot.
  std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) override;

  // With the links cached: the waiting notifications taken in, the count of
  // the links known, whenever it is asked. Not supported on the full-dump
  // path, before the links are known, and between a size query and its fill
  // (whose rows the count must match).
  std::uint32_t GetNumberOfInterfaces(std::uint32_t *pdwNumIf) override;

private:
  // Where the counters come from.
  enum class Source { Stats, FullDump };
  // The size-then-fill protocol: after a size query its snapshot waits for the fill.
  enum class Fill { None, Waiting };
  enum class Outcome { Ok, Failed, UnknownLink };

  bool Snapshot();
  Outcome SnapshotFromStats();
  bool SnapshotFromFullDump();

  std::shared_ptr<const IMonotonicClock> m_clock;
  Source m_source;
  Fill m_fill = Fill::None;
  std::unique_ptr<NetlinkSocket> m_socket;
  std::unique_ptr<LinkCache> m_links;
  TableRows m_rows;
  std::vector<std::byte> m_statsRequest;
};

} // namespace tallyflow
