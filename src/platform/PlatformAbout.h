#pragma once

#include "IFileTest.h"
#include "IRegistry.h"
#include "ISystemFacts.h"

#include <memory>

namespace tallyflow {

// Where the About window learns the owner, the organisation and the
// system-information tool on this system.
std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files);

} // namespace tallyflow
