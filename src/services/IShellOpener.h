#pragma once

#include <string>

namespace tallyflow {

// Hands a target (a mailto: or web address) to the desktop's handler.
// Failures are ignored by every caller, so nothing is reported.
class IShellOpener {
public:
  virtual ~IShellOpener() = default;
  virtual void Open(const std::string &target) = 0;
};

} // namespace tallyflow
