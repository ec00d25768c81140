#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeIfTable.h"
#include "fakes/FakeRegistry.h"
#include "fakes/MibTableBuilder.h"
#include "fakes/ScriptedYield.h"
#include "monitor/MonitorForm.h"
#include "registry/RegStartUp.h"

#include <memory>
#include <string>

namespace tallyflow::test {

// What the tests start a monitor window with, whatever draws it: fakes for
// the interface table (two interfaces), the registry and the clock, and the
// facts of a program installed in /opt/tallyflow.
struct MonitorFakes {
  explicit MonitorFakes(const std::string &exeName) {
    table->Push(BuildMibTable({NamedRow(1, "Loopback (lo)"), NamedRow(2, "Ethernet (eth0)")}));
    facts.title = "Tallyflow Manager";
    facts.exeName = exeName;
    facts.exeDirectory = "/opt/tallyflow";
    facts.exePath = "/opt/tallyflow/" + exeName;
  }

  // The window's services over these fakes; Exit counts in `ended`.
  MonitorForm::Services Services() {
    MonitorForm::Services s;
    s.ifTable = table;
    s.registry = &reg;
    s.settings = &settings;
    s.clock = &clock;
    s.yield = &yield;
    s.facts = facts;
    s.locale = NumberLocale{",", "."};
    s.pathStyle = PathStyle::Posix;
    s.endProgram = [this] { ++ended; };
    return s;
  }

  // A value the window stored in its Main section; "<none>" for none.
  std::string Stored(const char *name) const {
    return GetRegValue(reg, Hive::CurrentUser, "Software\\Quorrin Software\\" + facts.exeName + "\\Main",
                       name)
        .value_or("<none>");
  }

  mutable FakeRegistry reg;
  RegistrySettingsStore settings{reg};
  std::shared_ptr<FakeIfTable> table = std::make_shared<FakeIfTable>();
  FakeClock clock;
  ScriptedYield yield;
  AppFacts facts;
  int ended = 0;
};

} // namespace tallyflow::test
