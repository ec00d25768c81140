#include "Win32About.h"

#include "PlatformAbout.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace tallyflow {

Win32ShellOpener::Win32ShellOpener(ShellExecuteCall shellExecute) : m_shellExecute(std::move(shellExecute)) {}

void Win32ShellOpener::Open(const std::string &target, std::uintptr_t owner) {
  if (target.rfind("mailto:", 0) == 0) {
    m_shellExecute(owner, "open", target.c_str(), nullptr, "C:\\", SW_SHOW);
  } else {
    m_shellExecute(owner, "open", target.c_str(), "", "", SW_SHOW);
  }
}

std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files) {
  return std::make_unique<RegistrySystemFacts>(registry, files);
}

std::unique_ptr<IShellOpener> MakePlatformShellOpener() {
  return std::make_unique<Win32ShellOpener>([](std::uintptr_t owner, const char *verb, const char *target,
                                               const char *parameters, const char *directory, int show) {
    ::ShellExecuteA(reinterpret_cast<HWND>(owner), verb, target, parameters, directory, show);
  });
}

} // namespace tallyflow
