#pragma once

#include "registry/IRegistry.h"
#include "registry/RegStartUp.h"

#include <memory>

namespace tallyflow {

// The registry of the operating system the program was built for: the real
// one on Windows, files under the XDG configuration directories on Linux.
std::unique_ptr<IRegistry> MakePlatformRegistry();

// How this system writes paths.
PathStyle NativePathStyle();

} // namespace tallyflow
