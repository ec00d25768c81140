#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the Qt program asks of the Linux desktop before and while it runs.
// (The Windows program has its own loop and style: none of this is needed.)

namespace tallyflow {

// The widget style that draws the windows in their own palette: "Fusion",
// as Linux desktops' styles (Adwaita, Breeze) recolour and resize controls.
const char *PlatformWidgetStyle();

// Looks up an environment variable; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char *name)>;

// The Qt platform to ask for before the application starts, given the
// environment and the command line; nothing to leave the choice to Qt. A
// Wayland session that also offers X (XWayland) runs the program on X, where
// it can place its window and start minimised, falling back to Wayland when X
// refuses the connection, unless the user chose a platform (QT_QPA_PLATFORM,
// -platform).
std::optional<std::string> ChooseQtPlatform(const EnvironmentLookup &environment,
                                            const std::vector<std::string> &arguments);

// Whether to ask Qt for its own event loop instead of GLib's before the
// application starts: true unless the user chose (QT_NO_GLIB set). The window
// needs nothing from GLib, and GLib's loop costs more on every wake-up.
bool PreferQtEventLoop(const EnvironmentLookup &environment);

// The system's requests to end the program, for the event loop to watch:
// on Linux SIGTERM, SIGHUP and SIGINT (a session's end, a closed terminal,
// Ctrl-C). While the object lives those signals are caught; their earlier
// handling comes back when it goes.
class ITerminationRequests {
public:
  virtual ~ITerminationRequests() = default;
  // Turns readable when a request arrives: watch it for reading.
  virtual int Descriptor() const = 0;
  // Takes in what arrived; true when a request did.
  virtual bool Take() = 0;
};

// Nothing where no watch can be made: the signals then keep their default.
std::unique_ptr<ITerminationRequests> WatchTermination();

} // namespace tallyflow
