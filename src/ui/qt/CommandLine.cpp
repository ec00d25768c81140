#include "ui/qt/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

namespace tallyflow {

void AnswerCommandLine(int argc, char **argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  QCommandLineParser parser;
  // "-platform" and "-session" are one (unknown) word each, never "-p -l ...".
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription("A small network-traffic monitor: one window with the received and sent "
                                   "totals, the current, top and average rates and a graph.");
  const QCommandLineOption help = parser.addHelpOption(); // also --help-all, with Qt's own options
  const QCommandLineOption version = parser.addVersionOption();
  parser.parse(arguments); // an unknown argument is an error we ignore
  const bool helpAll = parser.isSet("help-all");
  if (!parser.isSet(help) && !parser.isSet(version) && !helpAll) {
    return;
  }
  if (helpAll) {
    // The window's own kind of application, for the window system options
    // it takes (-platform, -display, ...), on a platform that needs no
    // display. Qt prints the full help only from process(), which would also
    // end the program on any argument it does not know: give it this alone.
    qputenv("QT_QPA_PLATFORM", "minimal");
    QGuiApplication answering(argc, argv);
    parser.process(QStringList{arguments.first(), "--help-all"});
  }
  // Only now an application object, for the program's name in the usage;
  // one without a display, so the answer also comes on a bare terminal.
  QCoreApplication answering(argc, argv);
  if (parser.isSet(help)) {
    parser.showHelp(0);
  }
  parser.showVersion();
}

} // namespace tallyflow
