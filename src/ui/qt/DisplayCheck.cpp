#include "ui/qt/DisplayCheck.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
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

// A message handler is a plain function: what it holds back and what it
// would say live here, for the few moments the application object takes to
// start.
std::vector<HeldMessage> *g_held = nullptr;
std::string g_tried;

// The value given to a Qt option as "-name value", "--name value" or
// "-name=value"; the last one counts, as in Qt.
std::optional<std::string> OptionValue(int argc, char **argv, const std::string &name) {
  std::optional<std::string> value;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    for (const std::string &form : {"-" + name, "--" + name}) {
      if (arg == form && i + 1 < argc) {
        value = argv[i + 1];
      } else if (arg.rfind(form + "=", 0) == 0) {
        value = arg.substr(form.size() + 1);
      }
    }
  }
  return value;
}

std::string Environment(const char *name) {
  const char *value = std::getenv(name);
  return std::string(name) + "=" + (value != nullptr ? value : "unset");
}

void HoldBack(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (type != QtFatalMsg) {
    g_held->push_back({type, context.file, context.line, context.function, context.category, text});
    return;
  }
  std::fprintf(stderr, "tallyflow: no display could be reached to show the window (%s)\n", g_tried.c_str());
  std::fflush(stderr);
  std::_Exit(EXIT_FAILURE); // before Qt's abort: nothing to dump
}

} // namespace

std::string DisplayTried(int argc, char **argv) {
  const auto platform = OptionValue(argc, argv, "platform");
  const char *chosen = std::getenv("QT_QPA_PLATFORM");
  std::string tried = platform            ? "-platform " + *platform
                      : chosen != nullptr ? Environment("QT_QPA_PLATFORM")
                                          : "";
  const std::string kind = platform ? *platform : chosen != nullptr ? chosen : "";
  const auto add = [&](const std::string &what) { tried += (tried.empty() ? "" : ", ") + what; };
  if (const auto display = OptionValue(argc, argv, "display")) {
    add("-display " + *display);
  } else if (kind.empty() || kind.find("xcb") != std::string::npos) {
    add(Environment("DISPLAY"));
  }
  if (kind.empty() || kind.find("wayland") != std::string::npos) {
    add(Environment("WAYLAND_DISPLAY"));
  }
  return tried;
}

std::unique_ptr<QApplication> OpenDisplayOrExplain(int &argc, char **argv) {
  g_tried = DisplayTried(argc, argv); // before Qt takes its own options out of argv
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
