#include "SafeFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tallyflow {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A new file beside `path` that nobody else can have made or linked.
UniqueFd CreateTemporary(const std::string &path, std::string &name) {
  std::random_device entropy;
  const auto slash = path.rfind('/');
  const std::string prefix = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".";
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = prefix + std::to_string(entropy()) + ".tmp";
    UniqueFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd || errno != EEXIST) {
      return fd;
    }
  }
  return UniqueFd();
}

} // namespace

std::string DirectoryOf(const std::string &path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

FileRead ReadRegularFile(const std::string &path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) {
    return {errno == ENOENT ? FileRead::State::Missing : FileRead::State::Unusable, {}};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(kMaxFileBytes)) {
    return {FileRead::State::Unusable, {}};
  }
  FileRead read{FileRead::State::Regular, {}};
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 || read.bytes.size() + static_cast<std::size_t>(n) > kMaxFileBytes) {
      return {FileRead::State::Unusable, {}};
    }
    if (n == 0) {
      return read;
    }
    read.bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

bool ReplaceFile(const std::string &path, std::string_view bytes, mode_t mode) {
  if (bytes.size() > kMaxFileBytes) {
    return false; // it would not read back
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode)) {
      if (::access(path.c_str(), W_OK) != 0) {
        return false; // a file made read-only stays as its owner left it
      }
    } else if (!S_ISLNK(st.st_mode)) {
      return false; // a FIFO, a device or a directory is not ours to replace
    }
  } else if (errno != ENOENT) {
    return false;
  }

  std::string temporary;
  UniqueFd fd = CreateTemporary(path, temporary);
  if (!fd) {
    return false;
  }
  // The exact mode, whatever the umask; the data reaches the disk before the
  // name points at it, so a crash leaves the old file or the whole new one.
  const bool written = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  const bool closed = ::close(fd.release()) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself reaches the disk with the directory.
  const UniqueFd directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory) {
    ::fsync(directory.get());
  }
  return true;
}

bool MakeDirectories(const std::string &path, mode_t mode) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    return S_ISDIR(st.st_mode);
  }
  const std::string parent = DirectoryOf(path);
  if (parent != path && parent != "." && !MakeDirectories(parent, mode)) {
    return false;
  }
  if (::mkdir(path.c_str(), mode) != 0) {
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  // The exact mode, whatever the umask; never through a link put there meanwhile.
  const UniqueFd made(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  return made && ::fchmod(made.get(), mode) == 0;
}

FileLock::FileLock(const std::string &path, int timeoutMs) {
  const auto slash = path.rfind('/');
  const std::string lockPath = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".lock";
  m_fd = UniqueFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
  if (!m_fd) {
    return; // not ours to lock: the save that follows fails the same way
  }
  struct stat st {};
  if (::fstat(m_fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (::flock(m_fd.get(), LOCK_EX | LOCK_NB) == 0) {
      m_locked = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      m_locked = true; // no locks on this file system: go on without
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

} // namespace tallyflow
