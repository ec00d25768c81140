#pragma once

#include "UniqueFd.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tallyflow {

// Settings and desktop entries are a few hundred bytes; a file past this is
// not one of ours. One rule both ways: nothing larger is read, and nothing
// larger is written, so every file a save makes reads back.
inline constexpr std::size_t kMaxFileBytes = 1 << 20;

// The directory a path names its file in: "/" for the root, "." for none.
std::string DirectoryOf(const std::string &path);

// What reading a file found. Only a regular file is ever read: a FIFO, a
// device, a directory or a file too large to be ours is Unusable, and so is
// one that cannot be read. Opening never blocks.
struct FileRead {
  enum class State { Missing, Regular, Unusable };
  State state = State::Missing;
  std::string bytes;
};
FileRead ReadRegularFile(const std::string &path);

// Replaces `path` by a regular file holding exactly `bytes` with permissions
// `mode`: a new file in the same directory (O_EXCL, O_NOFOLLOW) is written,
// flushed to disk and only then renamed over the path. A symbolic link at
// the path is replaced, never followed. Refuses a path that holds anything
// but a regular file or a link, and a regular file we may not write. On any
// failure the old file stays as it was, byte for byte. More than
// kMaxFileBytes is refused.
bool ReplaceFile(const std::string &path, std::string_view bytes, mode_t mode);

// Makes the missing directories of `path` with exactly `mode` (0700 for the
// user's own folders, as the XDG base-directory rules ask). Directories that
// exist keep theirs. True when the path is a directory afterwards.
bool MakeDirectories(const std::string &path, mode_t mode);

// An exclusive advisory lock for the read-modify-write of one file, so that
// two running copies never interleave theirs. It is taken on a lock file
// beside it (".NAME.lock", 0600, never through a link) that only the owner
// can open: nobody else can hold it and stall a save. Waits at most
// `timeoutMs` for another holder; locked() is false when it gave up. Where
// the file system offers no locks at all, it proceeds unlocked: the atomic
// replace still keeps every file whole.
class FileLock {
public:
  FileLock(const std::string &path, int timeoutMs);
  bool locked() const { return m_locked; }

private:
  UniqueFd m_fd;
  bool m_locked = false;
};

} // namespace tallyflow
