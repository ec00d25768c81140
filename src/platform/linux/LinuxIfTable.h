#pragma once

#include "HardwareDatabase.h"
#include "IfTable.h"
#include "NetlinkSocket.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct nlmsghdr;

namespace tallyflow {

// GetIfTable on Linux: one row per link the kernel lists, written as the
// MIB_IFTABLE image Windows would hand out, so one decoder serves both
// systems. The kernel's 64-bit counters go into the 32-bit fields as their
// low 32 bits.
//
// A snapshot costs one RTM_GETSTATS dump that carries the counters alone
// (about 230 bytes a link). Everything else in a row (name, description, MTU,
// type, address, states) is kept per link from one RTM_GETLINK dump and kept
// fresh by the kernel's link notifications, read without waiting at the start
// of each snapshot; when the notification socket overflows, or a link turns
// up that we have not heard of, the links are read whole again. A changed
// MTU, a rename, a link going up or down, a new or a deleted link all show
// in the very next snapshot. The kernel sends no notification when the alias
// of a link that is down changes, so the links are also read whole every
// 2 seconds.
class LinuxIfTable final : public IIfTable {
public:
  // Cached: the counters dump with link rows kept fresh by notifications.
  // FullDump: one RTM_GETLINK dump per snapshot (what a kernel without
  // RTM_GETSTATS gets; also the reference the cached rows are checked with).
  enum class Mode { Cached, FullDump };

  explicit LinuxIfTable(Mode mode = Mode::Cached);
  ~LinuxIfTable() override;

  // A size query (no buffer) takes a fresh snapshot; the fill call that
  // follows it is served from that same snapshot.
  std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) override;

  // With the links cached, the count is theirs once the waiting
  // notifications are taken in: no dump at all. Otherwise (before the first
  // snapshot, after an overflow, on the full-dump path) not known.
  std::uint32_t GetNumberOfInterfaces(std::uint32_t *pdwNumIf) override;

private:
  // A row's counters, low 32 bits, in the order of the Counter enumeration.
  using Counters = std::array<std::uint32_t, 10>;

  // One link's row with everything but the counters, and what it was made of.
  struct Link {
    std::size_t nameBytes = 2; // of the UTF-16 name in `row`, with its terminator
    std::array<std::byte, 860> row{};
    std::string name;
    std::string kind;  // IFLA_INFO_KIND, e.g. "veth"; empty for hardware
    std::string alias; // IFLA_IFALIAS
    std::string baseDescription;
    LinkHardware hardware;
    std::uint32_t speed = 0;        // bits per second
    unsigned speedFlags = ~0u;      // link flags the speed was read under
    std::uint32_t operStatus = ~0u; // Windows code
    std::uint32_t lastChange = 0;   // centiseconds since boot
    Counters counters{};            // from RTM_NEWLINK, for the full-dump path
    std::size_t messageDigest = 0;  // of the last RTM_NEWLINK taken in
  };

  bool Snapshot();
  bool SnapshotFromStats();
  bool SnapshotFromFullDump();
  bool Relearn();
  bool Subscribe();
  void Learn(const nlmsghdr &message);
  void ApplyNotification(const nlmsghdr &message);
  // Applies the waiting notifications; false after an overflow, which leaves
  // the links to be read whole on a new socket.
  bool TakeInNotifications();
  void ResolveDescriptions();
  // Packs the link's row with these counters at the end of the snapshot.
  void AppendRow(const Link &link, const Counters &counters);
  // Keeps the first `rows` packed rows.
  void TruncateRows(std::size_t rows);
  std::uint32_t ReadSpeed(const std::string &name);
  // Writes a packed row into the table: only its meaningful bytes (the name
  // to its terminator, the fixed fields, the description to its length).
  static void WriteRow(std::byte *row, const std::byte *packed);

  Mode m_mode;
  std::unique_ptr<NetlinkSocket> m_socket;
  std::unique_ptr<NetlinkSocket> m_notifications;
  HardwareDatabase m_hardware;
  int m_ioctlFd = -1;
  std::vector<std::byte> m_linkRequest;        // with counters: the full-dump path
  std::vector<std::byte> m_linkRequestNoStats; // without: the cached path
  std::vector<std::byte> m_statsRequest;
  // The snapshot's rows, copied from their links and packed one after the
  // other (about 130 bytes each rather than the table's 860), so that
  // writing the table reads one small block front to back; a size query's
  // rows stay as they are for its fill, whatever notifications come in.
  std::vector<std::byte> m_packed;
  std::vector<std::uint32_t> m_rowOffsets; // of each row in m_packed, in table order
  std::vector<std::uint32_t> m_fullDumpOrder;
  bool m_pending = false;
  bool m_linksKnown = false; // m_links matches the kernel (as of the last notification)
  bool m_resubscribe = true; // the next Relearn joins the notifications on a new socket
  bool m_descriptionsDirty = true;
  bool m_statsSupported = true;
  bool m_unknownLink = false;
  bool m_packedStale = true; // a link changed since the rows were packed
  std::chrono::steady_clock::time_point m_learntAt{};
  std::chrono::steady_clock::time_point m_newsTakenAt{}; // notifications last taken in
  std::unordered_map<std::uint32_t, Link> m_links;       // by ifindex
};

} // namespace tallyflow
