#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct mnl_socket;
struct nlmsghdr;

namespace tallyflow {

// A NETLINK_ROUTE socket, kept open between dumps. Closed on destruction.
class NetlinkSocket {
public:
  // Opens and binds the socket, joined to the multicast `groups` (RTMGRP_*
  // bits) when given; Valid() tells whether that worked. A socket with groups
  // does not block: it only collects notifications.
  explicit NetlinkSocket(unsigned groups = 0);
  bool Valid() const { return m_socket != nullptr; }

  // Sends a dump request built from `request` (a complete netlink message)
  // and hands every reply message to `onMessage`. False when the kernel could
  // not be reached, the dump failed or was interrupted by a change.
  bool Dump(std::vector<std::byte> &request, const std::function<void(const nlmsghdr &)> &onMessage);

  // Hands every notification that has arrived to `onMessage`, without
  // waiting. Overflow: the kernel dropped some (the buffer was full), so
  // what they told must be learnt afresh.
  enum class Drain { Ok, Overflow, Error };
  Drain DrainNotifications(const std::function<void(const nlmsghdr &)> &onMessage);

private:
  struct Closer {
    void operator()(mnl_socket *s) const;
  };
  std::unique_ptr<mnl_socket, Closer> m_socket;
  std::uint32_t m_portId = 0;
  std::uint32_t m_sequence = 0;
  std::vector<std::byte> m_receive; // reused across dumps
};

} // namespace tallyflow
