#pragma once

#include "HardwareDatabase.h"
#include "IfTable.h"
#include "NetlinkSocket.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct nlmsghdr;

namespace tallyflow {

// GetIfTable on Linux: one row per link the kernel lists, read with an
// RTM_GETLINK dump over netlink and written as the MIB_IFTABLE image that
// Windows would hand out, so one decoder serves both systems. The kernel's
// 64-bit counters go into the 32-bit fields as their low 32 bits.
class LinuxIfTable final : public IIfTable {
public:
  LinuxIfTable();
  ~LinuxIfTable() override;

  // A size query (no buffer) takes a fresh dump; the fill call that follows
  // it is served from that same dump, so one snapshot costs one dump.
  std::uint32_t GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) override;

private:
  // What stays the same for a link between dumps, kept by ifindex and
  // re-learnt when the name changes.
  struct CachedLink {
    std::string name;
    std::string kind;            // IFLA_INFO_KIND, e.g. "veth"; empty for hardware
    std::string baseDescription; // adapter or kind, then "(name)"
    LinkHardware hardware;
    std::uint32_t ianaType = 1;
    std::uint32_t speed = 0;        // bits per second
    unsigned speedFlags = ~0u;      // link flags the speed was read under
    std::uint32_t operStatus = ~0u; // Windows code
    std::uint32_t lastChange = 0;   // centiseconds since boot
    std::uint64_t generation = 0;
  };

  bool Snapshot();
  void AppendRow(const nlmsghdr &message);
  CachedLink &Learn(std::uint32_t ifindex, const std::string &name, const std::string &kind,
                    unsigned short arphrd);
  std::uint32_t ReadSpeed(const std::string &name);
  void SortRowsByIndex();

  std::unique_ptr<NetlinkSocket> m_socket;
  HardwareDatabase m_hardware;
  int m_ioctlFd = -1;
  std::vector<std::byte> m_request;
  std::vector<std::byte> m_image;
  std::vector<std::byte> m_sorted;
  std::size_t m_rows = 0;
  bool m_pending = false;
  std::uint64_t m_generation = 0;
  std::unordered_map<std::uint32_t, CachedLink> m_links;
  std::unordered_set<std::string> m_used; // descriptions taken in this dump
};

} // namespace tallyflow
