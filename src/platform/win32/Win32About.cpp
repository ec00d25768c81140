#include "PlatformAbout.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace tallyflow {
namespace {
class ShellOpener final : public IShellOpener {
public:
  // ShellExecuteA as the About window has always called it; the result is
  // not examined.
  void Open(const std::string &target) override {
    if (target.rfind("mailto:", 0) == 0) {
      ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, "C:\\", SW_SHOW);
    } else {
      ::ShellExecuteA(nullptr, "open", target.c_str(), "", "", SW_SHOW);
    }
  }
};
} // namespace

std::unique_ptr<ISystemFacts> MakePlatformSystemFacts(IRegistry &registry, const IFileTest &files) {
  return std::make_unique<RegistrySystemFacts>(registry, files);
}

std::unique_ptr<IShellOpener> MakePlatformShellOpener() { return std::make_unique<ShellOpener>(); }

} // namespace tallyflow
