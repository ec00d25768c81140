#pragma once

#include <QApplication>

#include <memory>
#include <string>

namespace tallyflow {

// Makes the application object, or ends the program with one line on stderr
// and exit status 1 when no display can be reached, where Qt itself would
// print a page of plugin advice and abort with a core dump. Qt's messages
// while it starts are held back and passed on once a display was found.
std::unique_ptr<QApplication> OpenDisplayOrExplain(int &argc, char **argv);

// What the program tried to reach, for that line: the platform and display
// named on the command line (-platform, -display) or in QT_QPA_PLATFORM,
// else DISPLAY and WAYLAND_DISPLAY as the environment has them.
std::string DisplayTried(int argc, char **argv);

} // namespace tallyflow
