#pragma once

#include "netstats/IfTable.h"

#include <memory>

namespace tallyflow {

// The interface table of the operating system the program was built for.
std::shared_ptr<IIfTable> MakePlatformIfTable();

} // namespace tallyflow
