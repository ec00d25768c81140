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
  // Opens and binds the socket; Valid() tells whether that worked.
  NetlinkSocket();
  bool Valid() const { return m_socket != nullptr; }

  // Sends a dump request built from `request` (a complete netlink message)
  // and hands every reply message to `onMessage`. False when the kernel could
  // not be reached, the dump failed or was interrupted by a change.
  bool Dump(std::vector<std::byte> &request, const std::function<void(const nlmsghdr &)> &onMessage);

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
