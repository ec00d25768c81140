// Tallyflow: starts the monitor window and runs until it is closed.

#include "BuildInfo.h"
#include "PlatformAbout.h"
#include "PlatformIfTable.h"
#include "PlatformRegistry.h"
#include "QtServices.h"
#include "frmAbout.h"
#include "frmTallyflow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(tallyflow::build::kTitle);
  QApplication::setApplicationVersion(tallyflow::build::kVersionText);
  QGuiApplication::setDesktopFileName("com.example.Tallyflow"); // the menu entry and its icon

  auto registry = tallyflow::MakePlatformRegistry();
  const tallyflow::RegistrySettingsStore settings(*registry);
  const tallyflow::SteadyClock clock;
  tallyflow::QtYield yield;
  tallyflow::QtFileTest files;
  tallyflow::QtProgramStarter starter;
  tallyflow::QtMessageBox messages;
  const auto systemFacts = tallyflow::MakePlatformSystemFacts(*registry, files);
  const auto shell = tallyflow::MakePlatformShellOpener();

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
  services.showAbout = [&](QWidget *) {
    tallyflow::frmAbout::ShowModal(
        {tallyflow::ReadAppFacts().version, systemFacts.get(), &starter, &messages, shell.get()});
  };

  tallyflow::frmTallyflow window(std::move(services));
  window.Form_Load();
  return QApplication::exec();
}
