#include "DisplayCheck.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace tallyflow {
namespace {

// The context's strings are Qt's literals, which outlive the program.
struct HeldMessage {
  QtMsgType type;
  const char *file;
  int line;
  const char *function;
  const char *category;
  QString text;
};

// A message handler is a plain function: what it holds back lives here, for
// the few moments the application object takes to start.
std::vector<HeldMessage> *g_held = nullptr;

void HoldBack(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (type != QtFatalMsg) {
    g_held->push_back({type, context.file, context.line, context.function, context.category, text});
    return;
  }
  const char *display = std::getenv("DISPLAY");
  const char *wayland = std::getenv("WAYLAND_DISPLAY");
  std::fprintf(stderr,
               "tallyflow: no display could be reached to show the window (DISPLAY=%s, WAYLAND_DISPLAY=%s)\n",
               display != nullptr ? display : "unset", wayland != nullptr ? wayland : "unset");
  std::fflush(stderr);
  std::_Exit(EXIT_FAILURE); // before Qt's abort: nothing to dump
}

} // namespace

std::unique_ptr<QApplication> OpenDisplayOrExplain(int &argc, char **argv) {
  std::vector<HeldMessage> held;
  g_held = &held;
  const QtMessageHandler previous = qInstallMessageHandler(HoldBack);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  g_held = nullptr;
  for (const HeldMessage &m : held) {
    qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
  }
  return app;
}

} // namespace tallyflow
