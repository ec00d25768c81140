#include "platform/linux/desktop/LinuxDesktop.h"

#include <algorithm>

namespace tallyflow {

const char *PlatformWidgetStyle() { return "Fusion"; }

std::optional<std::string> ChooseQtPlatform(const EnvironmentLookup &environment,
                                            const std::vector<std::string> &arguments) {
  auto set = [&](const char *name) {
    const auto value = environment(name);
    return value && !value->empty();
  };
  const bool chosen = set("QT_QPA_PLATFORM") ||
                      std::any_of(arguments.begin(), arguments.end(),
                                  [](const std::string &a) { return a == "-platform" || a == "--platform"; });
  const bool wayland = set("WAYLAND_DISPLAY") || environment("XDG_SESSION_TYPE") == "wayland";
  if (chosen || !wayland || !set("DISPLAY")) {
    return std::nullopt;
  }
  return "xcb;wayland"; // X refused (no XAUTHORITY, say): Wayland, never no window at all
}

bool PreferQtEventLoop(const EnvironmentLookup &environment) { return !environment("QT_NO_GLIB"); }

} // namespace tallyflow
