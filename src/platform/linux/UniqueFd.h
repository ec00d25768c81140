#pragma once

#include <unistd.h>

namespace tallyflow {

// A file descriptor, closed when it goes out of scope. Shared by the Linux
// libraries: netlink sockets, settings files and their locks, signal pipes.
class UniqueFd {
public:
  explicit UniqueFd(int fd = -1) : m_fd(fd) {}
  ~UniqueFd() { Close(); }
  UniqueFd(UniqueFd &&other) noexcept : m_fd(other.release()) {}
  UniqueFd &operator=(UniqueFd &&other) noexcept {
    if (this != &other) {
      Close();
      m_fd = other.release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd &) = delete;
  UniqueFd &operator=(const UniqueFd &) = delete;

  explicit operator bool() const { return m_fd >= 0; }
  int get() const { return m_fd; }
  int release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

private:
  void Close() {
    if (m_fd >= 0) {
      ::close(m_fd);
    }
  }
  int m_fd;
};

} // namespace tallyflow
