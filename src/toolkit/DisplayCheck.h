#pragma once

#include <QApplication>

#include <memory>

namespace tallyflow {

// Makes the application object, or ends the program with one line on stderr
// and exit status 1 when no display can be reached, where Qt itself would
// print a page of plugin advice and abort with a core dump. Qt's messages
// while it starts are held back and passed on once a display was found.
std::unique_ptr<QApplication> OpenDisplayOrExplain(int &argc, char **argv);

} // namespace tallyflow
