#include "platform/linux/desktop/LinuxSystemFacts.h"

#include "platform/PlatformAbout.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyflow {

LinuxSystemFacts::LinuxSystemFacts(std::string searchPath) : m_searchPath(std::move(searchPath)) {}

std::string LinuxSystemFacts::FullNameFromGecos(const std::string &gecos) {
  return gecos.substr(0, gecos.find(','));
}

std::optional<std::string> LinuxSystemFacts::RegisteredOwner() {
  const passwd *pw = ::getpwuid(::getuid());
  if (pw == nullptr) {
    return std::string();
  }
  const std::string fullName = FullNameFromGecos(pw->pw_gecos != nullptr ? pw->pw_gecos : "");
  return fullName.empty() ? std::string(pw->pw_name != nullptr ? pw->pw_name : "") : fullName;
}

std::optional<std::string> LinuxSystemFacts::RegisteredOrganization() {
  const char *organisation = std::getenv("ORGANIZATION");
  return std::string(organisation != nullptr ? organisation : "");
}

std::optional<ProgramCall> LinuxSystemFacts::SystemInfoTool() {
  const ProgramCall known[] = {
      {"hardinfo2", {}},
      {"hardinfo", {}},
      {"kinfocenter", {}},
      {"gnome-control-center", {"about"}},
  };
  for (const auto &tool : known) {
    std::size_t start = 0;
    while (start <= m_searchPath.size()) {
      const std::size_t end = std::min(m_searchPath.find(':', start), m_searchPath.size());
      const std::string dir = m_searchPath.substr(start, end - start);
      start = end + 1;
      if (dir.empty() || dir.front() != '/') {
        continue; // a relative entry would depend on the working directory
      }
      const std::string candidate = dir + "/" + tool.program;
      struct stat st {};
      if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
          ::access(candidate.c_str(), X_OK) == 0) {
        return ProgramCall{candidate, tool.arguments};
      }
    }
  }
  return std::nullopt;
}

std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &, const IFileTest &) {
  const char *path = std::getenv("PATH");
  return std::make_unique<LinuxSystemFacts>(path != nullptr ? path : "/usr/bin:/bin");
}

} // namespace tallyflow
