#pragma once

#include <cstdint>
#include <string>

namespace tallyflow {

// Hands a target (a mailto: or web address) to the desktop's handler, on
// behalf of the window `owner` (its native handle: an HWND on Windows).
// Failures are ignored by every caller, so nothing is reported.
class IShellOpener {
public:
  virtual ~IShellOpener() = default;
  virtual void Open(const std::string &target, std::uintptr_t owner) = 0;
};

} // namespace tallyflow
