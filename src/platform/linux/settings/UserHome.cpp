#include "platform/linux/settings/UserHome.h"

#include "platform/linux/settings/SafeFile.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tallyflow {

std::string HomeDirectory() {
  const char *home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return home;
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd *found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

std::string ForeignOwner(const std::string &dir) {
  if (dir.empty() || ::geteuid() != 0) {
    return {};
  }
  std::string at = dir;
  struct stat st {};
  while (::stat(at.c_str(), &st) != 0) {
    if (errno != ENOENT || at == "/" || at == ".") {
      return {};
    }
    at = DirectoryOf(at);
  }
  if (st.st_uid == 0) {
    return {};
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd *found = nullptr;
  if (getpwuid_r(st.st_uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return "uid " + std::to_string(st.st_uid);
}

} // namespace tallyflow
