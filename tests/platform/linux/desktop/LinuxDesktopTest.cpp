// The Qt platform chosen on a Linux desktop, from the environment and the
// command line.

#include "platform/linux/desktop/LinuxDesktop.h"

#include <gtest/gtest.h>

#include <map>

namespace tallyflow {
namespace {

TEST(LinuxDesktop, AWaylandSessionWithXRunsOnXUnlessTheUserChose) {
  struct Case {
    const char *what;
    std::map<std::string, std::string> environment;
    std::vector<std::string> arguments;
    std::optional<std::string> platform;
  };
  const Case cases[] = {
      {"Wayland with XWayland", {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, {}, "xcb;wayland"},
      {"a Wayland session by its type",
       {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
       {},
       "xcb;wayland"},
      {"Wayland alone", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, std::nullopt},
      {"Wayland chosen in the environment",
       {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}},
       {},
       std::nullopt},
      {"a platform on the command line",
       {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}},
       {"tallyflow", "-platform", "wayland"},
       std::nullopt},
      {"X alone", {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, {}, std::nullopt},
      {"an empty WAYLAND_DISPLAY", {{"WAYLAND_DISPLAY", ""}, {"DISPLAY", ":0"}}, {}, std::nullopt},
      {"GLib's loop chosen", {{"DISPLAY", ":0"}, {"QT_NO_GLIB", ""}}, {}, std::nullopt},
  };
  for (const auto &c : cases) {
    const EnvironmentLookup lookup = [&](const char *name) -> std::optional<std::string> {
      const auto it = c.environment.find(name);
      return it == c.environment.end() ? std::nullopt : std::optional(it->second);
    };
    EXPECT_EQ(ChooseQtPlatform(lookup, c.arguments), c.platform) << c.what;
    // Qt's own event loop, unless the user chose one.
    EXPECT_EQ(PreferQtEventLoop(lookup), !c.environment.contains("QT_NO_GLIB")) << c.what;
  }
  EXPECT_STREQ(PlatformWidgetStyle(), "Fusion");
}

} // namespace
} // namespace tallyflow
