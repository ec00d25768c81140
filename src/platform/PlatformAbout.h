#pragma once

#include "registry/IRegistry.h"
#include "services/IFileTest.h"
#include "services/ISystemFacts.h"

#include <memory>

namespace tallyflow {

// Where the About window learns the owner, the organisation and the
// system-information tool on this system.
std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files);

} // namespace tallyflow
