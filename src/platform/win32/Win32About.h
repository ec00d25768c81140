#pragma once

#include "services/IShellOpener.h"

#include <functional>
#include <memory>

namespace tallyflow {

// ShellExecuteA as the About window has always called it, the About window
// as the owner; the result is not examined. The call comes in through the
// constructor, so that a test can see what is passed: owner (an HWND), verb,
// target, parameters, directory, show command.
class Win32ShellOpener final : public IShellOpener {
public:
  using ShellExecuteCall =
      std::function<void(std::uintptr_t, const char *, const char *, const char *, const char *, int)>;
  explicit Win32ShellOpener(ShellExecuteCall shellExecute);
  void Open(const std::string &target, std::uintptr_t owner) override;

private:
  ShellExecuteCall m_shellExecute;
};

// The desktop's handler for mailto: and web addresses: ShellExecuteA, with
// the target in the system code page.
std::unique_ptr<IShellOpener> MakePlatformShellOpener();

} // namespace tallyflow
