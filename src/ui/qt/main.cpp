// Tallyflow: starts the monitor window and runs until it is closed.

#include "platform/PlatformAbout.h"
#include "platform/PlatformIfTable.h"
#include "platform/PlatformRegistry.h"
#include "platform/linux/desktop/LinuxDesktop.h"
#include "services/BuildInfo.h"
#include "ui/qt/AccessibleRoles.h"
#include "ui/qt/CommandLine.h"
#include "ui/qt/DisplayCheck.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/frmAbout.h"
#include "ui/qt/frmTallyflow.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char **argv) {
  QApplication::setApplicationName(tallyflow::build::kTitle);
  QApplication::setApplicationVersion(tallyflow::build::kVersionText);
  tallyflow::AnswerCommandLine(argc, argv);

  const std::vector<std::string> arguments(argv, argv + argc);
  const auto environment = [](const char *name) -> std::optional<std::string> {
    const char *value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  };
  if (const auto platform = tallyflow::ChooseQtPlatform(environment, arguments)) {
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platform));
  }
  if (tallyflow::PreferQtEventLoop(environment)) {
    qputenv("QT_NO_GLIB", "1");
  }

  const auto app = tallyflow::OpenDisplayOrExplain(argc, argv);
  tallyflow::InstallAccessibleRoles();
  if (const char *style = tallyflow::PlatformWidgetStyle()) {
    QApplication::setStyle(style);
  }
  QGuiApplication::setDesktopFileName("com.example.Tallyflow"); // the menu entry and its icon

  auto registry = tallyflow::MakePlatformRegistry();
  const tallyflow::RegistrySettingsStore settings(*registry);
  const tallyflow::SteadyClock clock;
  tallyflow::QtYield yield;
  tallyflow::QtFileTest files;
  tallyflow::QtProgramStarter starter;
  tallyflow::QtMessageBox messages;
  const auto systemFacts = tallyflow::MakePlatformSystemFacts(*registry, files);
  tallyflow::QtShellOpener shell;

  tallyflow::frmTallyflow::Services services;
  services.ifTable = tallyflow::MakePlatformIfTable();
  services.registry = registry.get();
  services.settings = &settings;
  services.clock = &clock;
  services.yield = &yield;
  services.facts = tallyflow::ReadAppFacts();
  services.locale = tallyflow::SystemNumberLocale();
  services.pathStyle = tallyflow::NativePathStyle();
  // Settings are on disk once each write returns; end at once, wherever the
  // call comes from (also from inside a tick's yield).
  services.endProgram = [] {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
  };

  // Every opening makes and loads the About window afresh.
  services.showAbout = [&] {
    tallyflow::frmAbout::ShowModal(
        {tallyflow::ReadAppFacts().version, systemFacts.get(), &starter, &messages, &shell});
  };

  tallyflow::frmTallyflow window(std::move(services));
  window.Form_Load();
  // The end of a session, a terminal closed, Ctrl-C: the orderly close that
  // saves, then the end, as the Exit button does.
  const auto termination = tallyflow::WatchTermination();
  std::unique_ptr<QSocketNotifier> requests;
  if (termination) {
    requests = std::make_unique<QSocketNotifier>(termination->Descriptor(), QSocketNotifier::Read);
    QObject::connect(requests.get(), &QSocketNotifier::activated, &window, [&] {
      if (termination->Take()) {
        window.Form_Unload();
      }
    });
  }
  QObject::connect(app.get(), &QGuiApplication::commitDataRequest, &window,
                   [&window] { window.Form_Unload(); });
  return QApplication::exec();
}
