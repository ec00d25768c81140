#pragma once

#include <string>

namespace tallyflow {

// The build's version information.
struct VersionInfo {
  std::string fileDescription;
  int major = 0;
  int minor = 0;
  int build = 0;
  int revision = 0;
  std::string legalCopyright; // may hold a literal backslash-n and "(c)"
};

// Facts about the running program, fixed for the run.
struct AppFacts {
  std::string title;        // the build's title
  std::string exeName;      // executable base name, without suffix
  std::string exeDirectory; // no trailing separator unless it is a root
  std::string exePath;      // full path of the running executable
  VersionInfo version;
};

} // namespace tallyflow
