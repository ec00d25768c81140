#include "platform/linux/iftable/NetlinkSocket.h"

#include <libmnl/libmnl.h>
#include <linux/netlink.h>

#include <cerrno>
#include <ctime>
#include <sys/socket.h>

namespace tallyflow {

void NetlinkSocket::Closer::operator()(mnl_socket *s) const { mnl_socket_close(s); }

// 32 KiB per read: the size the kernel fills a dump reply up to.
NetlinkSocket::NetlinkSocket(unsigned groups) : m_receive(32768) {
  std::unique_ptr<mnl_socket, Closer> socket(
      mnl_socket_open2(NETLINK_ROUTE, SOCK_CLOEXEC | (groups != 0 ? SOCK_NONBLOCK : 0)));
  if (!socket) {
    return;
  }
  if (groups != 0) {
    // Room for a burst of link changes (1 MiB; root may exceed the default cap).
    int size = 1 << 20;
    if (setsockopt(mnl_socket_get_fd(socket.get()), SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
      setsockopt(mnl_socket_get_fd(socket.get()), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
  }
  if (mnl_socket_bind(socket.get(), groups, MNL_SOCKET_AUTOPID) < 0) {
    return;
  }
  // Replies to our own requests only: no multicast groups, no chatter.
  int strict = 1;
  mnl_socket_setsockopt(socket.get(), NETLINK_GET_STRICT_CHK, &strict, sizeof strict);
  int extAck = 1;
  mnl_socket_setsockopt(socket.get(), NETLINK_EXT_ACK, &extAck, sizeof extAck);
  m_portId = mnl_socket_get_portid(socket.get());
  m_sequence = static_cast<std::uint32_t>(std::time(nullptr));
  m_socket = std::move(socket);
}

namespace {
struct DumpState {
  const std::function<void(const nlmsghdr &)> *onMessage;
  bool interrupted = false;
};

int OnReply(const nlmsghdr *nlh, void *data) {
  auto *state = static_cast<DumpState *>(data);
  if (nlh->nlmsg_flags & NLM_F_DUMP_INTR) {
    state->interrupted = true;
  }
  (*state->onMessage)(*nlh);
  return MNL_CB_OK;
}
} // namespace

bool NetlinkSocket::Dump(std::vector<std::byte> &request,
                         const std::function<void(const nlmsghdr &)> &onMessage) {
  if (!Valid()) {
    return false;
  }
  auto *nlh = reinterpret_cast<nlmsghdr *>(request.data());
  nlh->nlmsg_seq = ++m_sequence;
  if (mnl_socket_sendto(m_socket.get(), nlh, nlh->nlmsg_len) < 0) {
    return false;
  }
  DumpState state{&onMessage};
  for (;;) {
    const ssize_t got = mnl_socket_recvfrom(m_socket.get(), m_receive.data(), m_receive.size());
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    const int run =
        mnl_cb_run(m_receive.data(), static_cast<size_t>(got), m_sequence, m_portId, OnReply, &state);
    if (run == MNL_CB_STOP) {
      return !state.interrupted;
    }
    if (run == MNL_CB_ERROR) {
      return false;
    }
  }
}

NetlinkSocket::Drain
NetlinkSocket::DrainNotifications(const std::function<void(const nlmsghdr &)> &onMessage) {
  if (!Valid()) {
    return Drain::Error;
  }
  for (;;) {
    const ssize_t got = mnl_socket_recvfrom(m_socket.get(), m_receive.data(), m_receive.size());
    if (got < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        return Drain::Ok;
      }
      if (errno == EINTR) {
        continue;
      }
      return errno == ENOBUFS ? Drain::Overflow : Drain::Error;
    }
    // Notifications carry sequence 0 and port 0: take them all.
    const int run = mnl_cb_run(
        m_receive.data(), static_cast<size_t>(got), 0, 0,
        [](const nlmsghdr *nlh, void *data) {
          (*static_cast<const std::function<void(const nlmsghdr &)> *>(data))(*nlh);
          return MNL_CB_OK;
        },
        const_cast<std::function<void(const nlmsghdr &)> *>(&onMessage));
    if (run == MNL_CB_ERROR) {
      return Drain::Error;
    }
  }
}

} // namespace tallyflow
