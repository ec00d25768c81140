// What a large settings file costs: the connection list's rebuild (which
// reads the per-application store) and the window's start (which reads the
// settings and the store), on the real Linux store in a temporary folder,
// with small files and with 1 MiB ones full of other programs' groups.
//
//   build/default/bench/settings_bench

#include "monitor/MonitorForm.h"
#include "monitor/MonitorTick.h"
#include "platform/linux/settings/LinuxRegistry.h"
#include "registry/RegStartUp.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeIfTable.h"
#include "fakes/FakeMonitorWindow.h"
#include "fakes/FakeSettings.h"
#include "fakes/MibTableBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace tallyflow;

// A fresh XDG tree whose two files hold our values, padded to `bytes` with
// groups of other programs' keys.
std::string MakeStore(std::size_t bytes) {
  char pattern[] = "/tmp/tallyflow-settings-bench-XXXXXX";
  const std::string root = ::mkdtemp(pattern);
  std::string padding;
  for (int group = 0; padding.size() + 64 < bytes; ++group) {
    padding += "[Other" + std::to_string(group) + "]\nkey=some value of another program's\n";
  }
  const auto write = [&](const std::string &file, const std::string &ours) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << padding << ours;
  };
  write(root + "/VB and VBA Program Settings/Tallyflow Manager.conf", "[Setting]\nConnection=1\n");
  write(root + "/Quorrin Software/Tallyflow.conf", "[Main]\nLeft=1500\nTop=1500\nUpdateInterval=200\n");
  return root;
}

std::shared_ptr<CInterfaces> ThreeInterfaces() {
  test::FakeIfTable table;
  table.Push(test::BuildMibTable({test::NamedRow(1, "Loopback (lo)"), test::NamedRow(2, "Ethernet (eth0)"),
                                  test::NamedRow(3, "Bridge (br0)")}));
  return CIpHelper(std::shared_ptr<IIfTable>(&table, [](IIfTable *) {})).Interfaces();
}

void BM_ListRebuild(benchmark::State &state) {
  const std::string root = MakeStore(static_cast<std::size_t>(state.range(0)));
  LinuxRegistry registry(root, root + "/machine");
  const RegistrySettingsStore store(registry);
  test::FakeMonitorWindow view;
  test::FakeSettings settings;
  settings.store = &store;
  SampleSeries samples(100, 0.0);
  clsLineGraph graph;
  const test::FakeClock clock;
  MonitorTick tick(view, nullptr, settings,
                   std::make_shared<CIpHelper>(std::make_shared<test::FakeIfTable>()), graph, samples, clock,
                   NumberLocale{",", "."}, "Tallyflow Manager");
  const auto snapshot = ThreeInterfaces();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tick.RebuildConnectionList(*snapshot));
  }
  std::filesystem::remove_all(root);
}

// The window's start as far as the settings go: the place, the interval,
// the start-up flag and the list with its stored selection.
void BM_FormLoad(benchmark::State &state) {
  const std::string root = MakeStore(static_cast<std::size_t>(state.range(0)));
  LinuxRegistry registry(root, root + "/machine");
  const RegistrySettingsStore store(registry);
  auto table = std::make_shared<test::FakeIfTable>();
  const test::FakeClock clock;
  AppFacts facts;
  facts.title = "Tallyflow Manager";
  facts.exeName = "Tallyflow";
  facts.exeDirectory = "/opt/tallyflow";
  facts.exePath = "/opt/tallyflow/Tallyflow";
  for (auto _ : state) {
    state.PauseTiming();
    table->Push(
        test::BuildMibTable({test::NamedRow(1, "Loopback (lo)"), test::NamedRow(2, "Ethernet (eth0)")}));
    test::FakeMonitorWindow window;
    MonitorForm::Services services;
    services.ifTable = table;
    services.registry = &registry;
    services.settings = &store;
    services.clock = &clock;
    services.facts = facts;
    services.locale = NumberLocale{",", "."};
    MonitorForm form(window, std::move(services));
    state.ResumeTiming();
    form.Form_Load();
  }
  std::filesystem::remove_all(root);
}

BENCHMARK(BM_ListRebuild)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormLoad)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
