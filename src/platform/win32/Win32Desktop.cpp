#include "PlatformDesktop.h"

namespace tallyflow {

const char *PlatformWidgetStyle() { return nullptr; } // Windows' own style draws the palette as given

std::optional<std::string> ChooseQtPlatform(const EnvironmentLookup &, const std::vector<std::string> &) {
  return std::nullopt; // one windowing system: nothing to choose
}

bool PreferQtEventLoop(const EnvironmentLookup &) { return false; } // Qt runs Windows' own loop

// Windows asks a window program to end with WM_ENDSESSION, which Qt turns
// into QGuiApplication::commitDataRequest: there are no signals to watch.
std::unique_ptr<ITerminationRequests> WatchTermination() { return nullptr; } // WM_ENDSESSION instead

} // namespace tallyflow
