#pragma once

#include "platform/linux/UniqueFd.h"

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
// kMaxFileBytes is refused. Returns 0 once replaced, else the errno that
// stopped it (EFBIG: too large; EACCES: a read-only file; EINVAL: not a file).
int ReplaceFile(const std::string &path, std::string_view bytes, mode_t mode);

// Makes the missing directories of `path` with exactly `mode` (0700 for the
// user's own folders, as the XDG base-directory rules ask). Directories that
// exist keep theirs. True when the path is a directory afterwards.
bool MakeDirectories(const std::string &path, mode_t mode);

// An exclusive advisory lock for the read-modify-write of one file, so that
// two running copies never interleave theirs. It is taken on a lock file
// beside it (".NAME.lock") that is waited on only while it is the user's
// own, private (0600) regular file: anything else there (a link, a FIFO, a
// file of another user or another mode, one another user may hold open) is
// replaced by a fresh private file, never followed, and where even that
// cannot be done the save goes on without the lock, as it does on a file
// system with no locks: the atomic replace still keeps every file whole. So
// the lock never costs the save itself; only another running copy that
// holds it longer than `timeoutMs` does (Busy).
class FileLock {
public:
  enum class State {
    Locked,   // ours until destroyed
    Unlocked, // no usable lock here: go on without
    Busy,     // another copy held it for the whole wait
  };
  FileLock(const std::string &path, int timeoutMs);
  State state() const { return m_state; }

private:
  UniqueFd m_fd;
  State m_state = State::Unlocked;
};

} // namespace tallyflow
