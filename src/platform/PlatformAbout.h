#pragma once

#include "AboutLogic.h"
#include "IShellOpener.h"

#include <memory>

namespace tallyflow {

// Where the About window learns the owner, the organisation and the
// system-information tool on this system.
std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files);

// The desktop's handler for mailto: and web addresses, on Windows
// (ShellExecute). On Linux the toolkit's QtShellOpener asks the desktop
// through Qt, which knows its portals and handlers.
std::unique_ptr<IShellOpener> MakePlatformShellOpener();

} // namespace tallyflow
