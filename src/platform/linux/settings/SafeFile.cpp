#include "platform/linux/settings/SafeFile.h"

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

int ReplaceFile(const std::string &path, std::string_view bytes, mode_t mode) {
  if (bytes.size() > kMaxFileBytes) {
    return EFBIG; // it would not read back
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode)) {
      if (::access(path.c_str(), W_OK) != 0) {
        return errno; // a file made read-only stays as its owner left it
      }
    } else if (!S_ISLNK(st.st_mode)) {
      return EINVAL; // a FIFO, a device or a directory is not ours to replace
    }
  } else if (errno != ENOENT) {
    return errno;
  }

  std::string temporary;
  UniqueFd fd = CreateTemporary(path, temporary);
  if (!fd) {
    return errno;
  }
  // The exact mode, whatever the umask; the data reaches the disk before the
  // name points at it, so a crash leaves the old file or the whole new one.
  const bool written = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  int error = written ? 0 : (errno != 0 ? errno : EIO);
  if (::close(fd.release()) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return error;
  }
  // The rename itself reaches the disk with the directory.
  const UniqueFd directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory) {
    ::fsync(directory.get());
  }
  return 0;
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

namespace {

// A lock file worth waiting on: our own private regular file. Another user
// could hold one that is open to reading for ever.
bool Trustworthy(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 07777) == 0600;
}

// True while `fd` is still the file the path names: a copy that replaced
// the lock file meanwhile has made ours a stray.
bool StillNamed(int fd, const std::string &lockPath) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(lockPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// The lock file as it is when trustworthy, else a fresh private one renamed
// over whatever was there (a link is replaced, not followed). Nothing when
// neither can be had (a directory in the way, a folder we cannot write).
UniqueFd OpenLockFile(const std::string &lockPath) {
  UniqueFd fd(::open(lockPath.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd && Trustworthy(fd.get())) {
    return fd;
  }
  std::string temporary;
  fd = CreateTemporary(lockPath, temporary);
  if (!fd) {
    return fd;
  }
  if (::fchmod(fd.get(), 0600) != 0 || ::rename(temporary.c_str(), lockPath.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return UniqueFd();
  }
  return fd;
}

} // namespace

FileLock::FileLock(const std::string &path, int timeoutMs) {
  const auto slash = path.rfind('/');
  const std::string lockPath = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".lock";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    m_fd = OpenLockFile(lockPath);
    if (!m_fd) {
      m_state = State::Unlocked;
      return;
    }
    if (::flock(m_fd.get(), LOCK_EX | LOCK_NB) == 0) {
      if (StillNamed(m_fd.get(), lockPath)) {
        m_state = State::Locked;
        return;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        m_state = State::Unlocked; // replaced again and again: go on without
        return;
      }
      continue; // replaced under us: lock the file that is there now
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      m_state = State::Unlocked; // no locks on this file system: go on without
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      m_state = State::Busy;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

} // namespace tallyflow
