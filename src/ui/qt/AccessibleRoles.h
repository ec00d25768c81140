#pragma once

class QWidget;

namespace tallyflow {

// How a widget shows itself to assistive technology where Qt's default would
// mislead a screen reader. Over AT-SPI a plain top-level QWidget is a
// "filler" and a QFrame a "frame"; Orca then takes the first unnamed panel
// for the window, drops focus events outside it and reviews nothing else.
enum class AccessibleRole {
  Window,  // a top level: "frame" over AT-SPI, named by its title
  Panel,   // a bordered panel that groups controls: "panel", never a window
  Picture, // a drawn picture: "image", named and described by its widget
};

// Takes effect for widgets whose accessible object does not exist yet: set it
// while building the window.
void SetAccessibleRole(QWidget &widget, AccessibleRole role);

// Once per process, after the application object exists (Qt's own factory
// is installed with it, and the one installed last is asked first): makes
// the roles above, and LinkLabel's link with its press action, take effect.
void InstallAccessibleRoles();

} // namespace tallyflow
