#pragma once

#include "services/ISystemFacts.h"

#include <string>

namespace tallyflow {

// Linux has no registered owner: the owner is the full name of the user
// running the program (the GECOS field up to its first comma), else the login
// name; the organisation is $ORGANIZATION. The system-information tool is
// the first of a few known ones found on the search path.
class LinuxSystemFacts final : public ISystemFacts {
public:
  // searchPath: a PATH-style list of directories.
  explicit LinuxSystemFacts(std::string searchPath);

  std::optional<std::string> RegisteredOwner() override;
  std::optional<std::string> RegisteredOrganization() override;
  std::optional<ProgramCall> SystemInfoTool() override;

  // The full name in a GECOS field: the part before the first comma.
  static std::string FullNameFromGecos(const std::string &gecos);

private:
  std::string m_searchPath;
};

} // namespace tallyflow
