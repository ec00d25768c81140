#include "platform/win32/Win32About.h"

#include "platform/PlatformAbout.h"
#include "platform/win32/Win32Text.h"
#include "registry/RegistrySystemFacts.h"

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

namespace {

// The registry's texts are in the system code page, and the window shows
// UTF-8: owner and organisation are converted for display. The tool's path
// stays as read, for the program starter and the file test, which take
// registry texts.
class Win32SystemFacts final : public ISystemFacts {
public:
  Win32SystemFacts(IRegistry &registry, const IFileTest &files) : m_registry(registry, files) {}
  std::optional<std::string> RegisteredOwner() override { return ForDisplay(m_registry.RegisteredOwner()); }
  std::optional<std::string> RegisteredOrganization() override {
    return ForDisplay(m_registry.RegisteredOrganization());
  }
  std::optional<ProgramCall> SystemInfoTool() override { return m_registry.SystemInfoTool(); }

private:
  static std::optional<std::string> ForDisplay(const std::optional<std::string> &ansi) {
    return ansi ? std::optional<std::string>(AnsiToUtf8(*ansi)) : std::nullopt;
  }
  RegistrySystemFacts m_registry;
};

} // namespace

std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files) {
  return std::make_unique<Win32SystemFacts>(registry, files);
}

std::unique_ptr<IShellOpener> MakePlatformShellOpener() {
  return std::make_unique<Win32ShellOpener>([](std::uintptr_t owner, const char *verb, const char *target,
                                               const char *parameters, const char *directory, int show) {
    // Targets are composed from texts shown (UTF-8); the A call takes the
    // code page, and a target with no form there is not opened at all.
    if (const auto ansi = Utf8ToAnsi(target)) {
      ::ShellExecuteA(reinterpret_cast<HWND>(owner), verb, ansi->c_str(), parameters, directory, show);
    }
  });
}

} // namespace tallyflow
