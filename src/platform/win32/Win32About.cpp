// Our headers before windows.h, whose macros (REG_SZ ...) they would meet.
#include "Win32About.h"
#include "PlatformAbout.h"

// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace tallyflow {

Win32ShellOpener::Win32ShellOpener(ShellExecuteFn shellExecute) : m_shellExecute(shellExecute) {}

void Win32ShellOpener::Open(const std::string &target, std::uintptr_t owner) {
  const HWND window = reinterpret_cast<HWND>(owner);
  if (target.rfind("mailto:", 0) == 0) {
    m_shellExecute(window, "open", target.c_str(), nullptr, "C:\\", SW_SHOW);
  } else {
    m_shellExecute(window, "open", target.c_str(), "", "", SW_SHOW);
  }
}

std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files) {
  return std::make_unique<RegistrySystemFacts>(registry, files);
}

std::unique_ptr<IShellOpener> MakePlatformShellOpener() {
  return std::make_unique<Win32ShellOpener>(&::ShellExecuteA);
}

} // namespace tallyflow
