// The interface snapshot and the headless tick, against the two references
// a monitor could use instead, at 1 to 4,000 interfaces. Runs in a private
// network namespace of its own (as root), where it makes veth pairs.
//
//   build/bench/bench/snapshot_bench [--benchmark_min_time=0.2]

#include "monitor/MonitorTick.h"
#include "netstats/CIpHelper.h"
#include "netstats/IfTableDecoder.h"
#include "platform/linux/iftable/LinuxIfTable.h"
#include "platform/linux/iftable/NetlinkSocket.h"

#include "fakes/CountingSurface.h"
#include "fakes/FakeMonitorWindow.h"
#include "fakes/FakeSettings.h"

#include <benchmark/benchmark.h>

#include <libmnl/libmnl.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sched.h>
#include <string>
#include <vector>

namespace {

using namespace tallyflow;

int g_links = 1; // lo

// Makes the namespace hold `wanted` links (lo and veth pairs; an even count
// rounds up by one). A smaller count starts over in a new, empty namespace.
void EnsureLinks(int wanted) {
  if (g_links > wanted + 1) {
    if (unshare(CLONE_NEWNET) != 0 || std::system("ip link set lo up") != 0) {
      std::fprintf(stderr, "cannot make a new network namespace\n");
      std::exit(1);
    }
    g_links = 1;
  }
  if (g_links >= wanted) {
    return;
  }
  const std::string file = "/tmp/tallyflow-bench-" + std::to_string(getpid());
  {
    std::ofstream batch(file);
    for (int k = g_links; k < wanted; k += 2) {
      batch << "link add b" << k << " type veth peer name c" << k << "\n";
    }
  }
  if (std::system(("ip -batch " + file + " >/dev/null").c_str()) != 0) {
    std::fprintf(stderr, "could not make the links\n");
    std::exit(1);
  }
  std::remove(file.c_str());
  g_links += 2 * ((wanted - g_links + 1) / 2); // pairs come two at a time
}

// A dump request of `type` with its fixed header.
template <typename Header> std::vector<std::byte> DumpRequest(std::uint16_t type, const Header &header) {
  std::vector<std::byte> request(64);
  nlmsghdr *nlh = mnl_nlmsg_put_header(request.data());
  nlh->nlmsg_type = type;
  nlh->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  *static_cast<Header *>(mnl_nlmsg_put_extra_header(nlh, sizeof(Header))) = header;
  request.resize(nlh->nlmsg_len);
  return request;
}

// Times dumps of `request`, the messages counted but not read.
void TimeDump(benchmark::State &state, std::vector<std::byte> request) {
  EnsureLinks(static_cast<int>(state.range(0)));
  NetlinkSocket socket;
  std::size_t messages = 0;
  for (auto _ : state) {
    socket.Dump(request, [&](const nlmsghdr &) { ++messages; });
  }
  benchmark::DoNotOptimize(messages);
}

// Reference 1: what /proc/net/dev offers, counters only, read and parsed.
void BM_ProcNetDev(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  std::vector<char> buffer(1 << 22);
  for (auto _ : state) {
    FILE *f = std::fopen("/proc/net/dev", "r");
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size() - 1, f);
    std::fclose(f);
    buffer[n] = '\0';
    std::uint64_t sum = 0;
    char *line = std::strchr(buffer.data(), '\n');
    line = line ? std::strchr(line + 1, '\n') : nullptr; // two header lines
    while (line != nullptr && *++line != '\0') {
      char *colon = std::strchr(line, ':');
      if (colon == nullptr) {
        break;
      }
      char *p = colon + 1;
      std::uint64_t fields[16];
      for (auto &field : fields) {
        field = std::strtoull(p, &p, 10);
      }
      sum += fields[0] + fields[8];
      line = std::strchr(p, '\n');
    }
    benchmark::DoNotOptimize(sum);
  }
}

// Reference 2: a raw RTM_GETLINK dump (full rows).
void BM_RawGetLink(benchmark::State &state) {
  ifinfomsg link{};
  link.ifi_family = AF_UNSPEC;
  TimeDump(state, DumpRequest(RTM_GETLINK, link));
}

// The counters dump alone (what the cached table asks the kernel each time).
void BM_RawGetStats(benchmark::State &state) {
  if_stats_msg stats{};
  stats.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
  TimeDump(state, DumpRequest(RTM_GETSTATS, stats));
}

// The table alone: one size query and the fill from the same dump.
void BM_Table(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  LinuxIfTable table;
  std::vector<std::byte> buffer;
  for (auto _ : state) {
    std::uint32_t size = 0;
    table.GetIfTable(nullptr, &size, false);
    buffer.resize(size);
    benchmark::DoNotOptimize(table.GetIfTable(buffer.data(), &size, false));
  }
}

// Decoding alone: a table taken once, decoded into records again and again.
void BM_Decode(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  LinuxIfTable table;
  std::uint32_t size = 0;
  table.GetIfTable(nullptr, &size, false);
  std::vector<std::byte> buffer(size);
  table.GetIfTable(buffer.data(), &size, false);
  std::shared_ptr<CInterfaces> records;
  for (auto _ : state) {
    records = std::make_shared<CInterfaces>();
    benchmark::DoNotOptimize(DecodeIfTable(buffer, table, *records).received);
  }
}

// One read of Interfaces: the table and the decoding into records.
void BM_Snapshot(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  CIpHelper ip(std::make_shared<LinuxIfTable>());
  for (auto _ : state) {
    benchmark::DoNotOptimize(ip.Interfaces()->Count());
  }
}

// One headless tick: a snapshot, the interface count, the figures, texts,
// title and Draw.
void BM_Tick(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  test::FakeMonitorWindow view;
  test::FakeSettings settings;
  view.update.interval = 200;
  auto ip = std::make_shared<CIpHelper>(std::make_shared<LinuxIfTable>());
  test::CountingSurface surface(379, 117); // records counts, keeps no shapes
  SampleSeries samples(100, 0.0);
  clsLineGraph graph;
  graph.PictureBox(&surface);
  graph.DataCollection(&samples);
  graph.GridVisible(true);
  SteadyClock clock;
  MonitorTick tick(view, nullptr, settings, ip, graph, samples, clock, NumberLocale{",", "."},
                   "Tallyflow Manager");
  tick.tmrUpdate_Timer(); // fills the list once
  for (auto _ : state) {
    tick.tmrUpdate_Timer();
  }
}

// A tick that rebuilds the connection list (the interface count changed).
void BM_TickRebuildingTheList(benchmark::State &state) {
  EnsureLinks(static_cast<int>(state.range(0)));
  test::FakeMonitorWindow view;
  test::FakeSettings settings;
  auto ip = std::make_shared<CIpHelper>(std::make_shared<LinuxIfTable>());
  SampleSeries samples(100, 0.0);
  clsLineGraph graph;
  graph.DataCollection(&samples);
  SteadyClock clock;
  MonitorTick tick(view, nullptr, settings, ip, graph, samples, clock, NumberLocale{",", "."},
                   "Tallyflow Manager");
  for (auto _ : state) {
    view.list.clear(); // so the count differs and the list is refilled
    tick.tmrUpdate_Timer();
  }
}

// Keeps the results so the ratios can be printed at the end: the median of
// the repetitions when there are several, else the one run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto &run : runs) {
      auto &slot = results[run.run_name.function_name][run.run_name.args];
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        slot = {run.GetAdjustedRealTime(), true};
      } else if (run.run_type == Run::RT_Iteration && !slot.second) {
        slot = {run.GetAdjustedRealTime(), false};
      }
    }
  }
  double Time(const std::string &name, const std::string &args) {
    return results[name][args].first; // 0 when that benchmark did not run
  }
  // Time in the benchmark's unit, and whether it is a median.
  std::map<std::string, std::map<std::string, std::pair<double, bool>>> results;
};

// A ratio, or a dash when a benchmark it needs did not run.
std::string Ratio(double a, double b) {
  if (a <= 0 || b <= 0) {
    return "-";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", a / b);
  return text;
}

} // namespace

// Every benchmark at one N runs before any at the next, so that a ratio
// compares figures taken seconds apart rather than minutes (this machine's
// speed drifts), and the links are made once, growing from 1 to 4,000.
void RegisterAll() {
  const std::pair<const char *, void (*)(benchmark::State &)> perSize[] = {{"BM_ProcNetDev", BM_ProcNetDev},
                                                                           {"BM_RawGetLink", BM_RawGetLink},
                                                                           {"BM_RawGetStats", BM_RawGetStats},
                                                                           {"BM_Table", BM_Table},
                                                                           {"BM_Decode", BM_Decode},
                                                                           {"BM_Snapshot", BM_Snapshot},
                                                                           {"BM_Tick", BM_Tick}};
  for (const int n : {1, 10, 100, 1000, 4000}) {
    for (const auto &[name, function] : perSize) {
      benchmark::RegisterBenchmark(name, function)->Arg(n)->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RegisterBenchmark("BM_TickRebuildingTheList", BM_TickRebuildingTheList)
      ->Arg(4000)
      ->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv) {
  if (unshare(CLONE_NEWNET) != 0) {
    std::fprintf(stderr, "cannot make a private network namespace (%s): run as root\n", std::strerror(errno));
    return 1;
  }
  std::system("ip link set lo up");
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto &r = reporter;
  std::printf("\n%-8s %14s %14s %16s %14s\n", "N", "snapshot/proc", "snapshot/dump", "tick/snapshot",
              "snapshot us");
  for (const auto &[args, entry] : std::map(r.results["BM_Snapshot"])) {
    const double snapshot = entry.first;
    std::printf("%-8s %14s %14s %16s %14.1f\n", args.c_str(),
                Ratio(snapshot, r.Time("BM_ProcNetDev", args)).c_str(),
                Ratio(snapshot, r.Time("BM_RawGetLink", args)).c_str(),
                Ratio(r.Time("BM_Tick", args), snapshot).c_str(), snapshot);
  }
  benchmark::Shutdown();
  return 0;
}
