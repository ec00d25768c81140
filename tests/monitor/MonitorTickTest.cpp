#include "monitor/MonitorTick.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeIfTable.h"
#include "fakes/FakeMonitorWindow.h"
#include "fakes/FakeSettings.h"
#include "fakes/MibTableBuilder.h"
#include "fakes/RecordingSurface.h"
#include "fakes/ScriptedYield.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using namespace std::chrono_literals;
using test::BuildMibTable;
using test::FakeClock;
using test::FakeIfTable;
using test::FakeMonitorWindow;
using test::MibRow;
using L = MonitorLabel;

MibRow Row(std::uint32_t index, std::uint32_t in, std::uint32_t out = 0, std::uint32_t speed = 0) {
  MibRow r;
  r.index = index;
  r.inOctets = in;
  r.outOctets = out;
  r.speed = speed;
  r.descr = "Adapter " + std::to_string(index);
  r.descrLen = static_cast<std::uint32_t>(r.descr.size());
  return r;
}

// The monitor as the window would wire it, with fakes all round.
struct Monitor {
  Monitor() {
    window.update.interval = 200;
    window.update.enabled = true;
    window.timer1.interval = 2000;
    window.timer1.enabled = true;
    graph.PictureBox(&surface);
    graph.DataCollection(&samples);
    graph.GridVisible(true);
    samples.assign(100, 0.0);
  }

  // Scripts the table the next tick sees, moves the clock and ticks.
  void Tick(const std::vector<MibRow> &rows, std::chrono::milliseconds after = 1000ms) {
    table->Push(BuildMibTable(rows));
    clock.Advance(after);
    tick.tmrUpdate_Timer();
  }
  std::string Caption(L label) const { return window.Caption(label); }

  FakeMonitorWindow window;
  test::FakeSettings settings;
  test::ScriptedYield yield;
  std::shared_ptr<FakeIfTable> table = std::make_shared<FakeIfTable>();
  std::shared_ptr<CIpHelper> ip = std::make_shared<CIpHelper>(table);
  test::RecordingSurface surface{379, 117};
  SampleSeries samples;
  clsLineGraph graph;
  FakeClock clock;
  MonitorTick tick{
      window, &yield, settings, ip, graph, samples, clock, NumberLocale{",", "."}, "Tallyflow Manager"};
};

TEST(MonitorTick, SpeedLabelsSwitchFromBytesToKilobytesPerSecond) {
  struct Case {
    std::uint32_t bytes;
    std::chrono::milliseconds over;
    const char *expected;
  };
  const Case cases[] = {
      {1023, 1000ms, "1023 BS "},
      {2047, 2000ms, "1.00 KBS "}, // 1023.5 B/s would round to "1024 BS "
      {1024, 1000ms, "1.00 KBS "},
      {1536, 1000ms, "1.50 KBS "},
      {5'000'000, 1000ms, "4882.81 KBS "},
      {0, 1000ms, "0 BS "},
      // The same 10 KB/s at another interval, and a tick three intervals late.
      {1024, 100ms, "10.00 KBS "},
      {20480, 2000ms, "10.00 KBS "},
      {6144, 600ms, "10.00 KBS "},
  };
  for (const auto &c : cases) {
    Monitor m;
    m.Tick({Row(1, 1'000'000, 2'000'000)});
    m.Tick({Row(1, 1'000'000 + c.bytes, 2'000'000 + c.bytes / 2)}, c.over);
    EXPECT_EQ(m.Caption(L::lblDSpeed), c.expected) << c.bytes << " bytes over " << c.over.count() << " ms";
  }
}

TEST(MonitorTick, FirstTickShowsTotalsButNoRates) {
  Monitor m;
  m.Tick({Row(1, 3'000'000'000u, 5'000'000), Row(2, 2'000'000'000u, 0)});
  EXPECT_EQ(m.Caption(L::lblDSpeed), "0 BS ");
  EXPECT_EQ(m.Caption(L::lblUSpeed), "0 BS ");
  EXPECT_EQ(m.tick.TopDownload(), 0.0);
  EXPECT_EQ(m.Caption(L::lblRecv), "4,882,813 KB") << "5,000,000,000 bytes, never negative";
  EXPECT_EQ(m.Caption(L::lblSent), "4,883 KB");
  EXPECT_EQ(m.samples.back(), 5.0);
}

TEST(MonitorTick, StatisticsTitleAndSamples) {
  Monitor m;
  m.Tick({Row(1, 0, 0)});
  m.Tick({Row(1, 5120, 2048)}); // 5 KB/s down, 2 KB/s up
  EXPECT_EQ(m.Caption(L::lblDownloadSpeedTop), "Top download speed: 5.00 Kb/S");
  EXPECT_EQ(m.Caption(L::lblUploadSpeedTop), "Top upload speed: 2.00 Kb/S");
  EXPECT_EQ(m.Caption(L::lblDownloadSpeedAverage), "Average download speed: 2.50 Kb/S");
  EXPECT_EQ(m.Caption(L::lblUploadSpeedAverage), "Average upload speed: 1.00 Kb/S");
  EXPECT_EQ(m.window.title,
            "Top download speed: 5.00 Kb/S Top upload speed: 2.00 Kb/S Average download speed: 2.50 Kb/S");
  EXPECT_EQ(m.samples.back(), 7.0) << "2.5 KB/s gives 2 + 5";
  EXPECT_EQ(m.samples.size(), 100u) << "Draw trims the series";
  EXPECT_EQ(m.surface.Count(false), 100u) << "the graph was drawn";

  // Averages of 1,023.99 and 1,023.996 KB/s: the sample follows the rendered text.
  struct Case {
    std::uint32_t bytes;
    std::chrono::milliseconds over;
    double sample;
  };
  for (const Case c : {Case{209'713'152, 100'000ms, 1028}, Case{2'097'143'808u, 1'000'000ms, 1029}}) {
    Monitor a;
    a.Tick({Row(1, 0)});
    a.Tick({Row(1, c.bytes)}, c.over);
    EXPECT_EQ(a.samples.back(), c.sample) << a.Caption(L::lblDownloadSpeedAverage);
  }
}

TEST(MonitorTick, CountersThatWrapResetOrComeAndGo) {
  struct Case {
    const char *what;
    std::vector<MibRow> before, after;
    const char *expected;
  };
  const Case cases[] = {
      {"wrap past 2^32", {Row(1, 0xFFFFF000u)}, {Row(1, 0x00001000u)}, "8.00 KBS "},
      {"reset on a 10 Mbit/s link",
       {Row(1, 3'000'000'000u, 0, 10'000'000)},
       {Row(1, 1000, 0, 10'000'000)},
       "0 BS "},
      {"one vanishes, one appears",
       {Row(1, 1000), Row(2, 5000)},
       {Row(1, 2024), Row(3, 999'999)},
       "1.00 KBS "},
  };
  for (const auto &c : cases) {
    Monitor m;
    m.Tick(c.before);
    m.Tick(c.after);
    EXPECT_EQ(m.Caption(L::lblDSpeed), c.expected) << c.what;
    EXPECT_GE(m.tick.AverageDownload(), 0.0) << c.what;
  }
}

TEST(MonitorTick, AFailedSnapshotShowsZeroAndTheNextGoodOneSpansTheGap) {
  Monitor m;
  m.Tick({Row(1, 10'000)});
  m.Tick({}); // the table could not be read
  EXPECT_EQ(m.Caption(L::lblDSpeed), "0 BS ");
  EXPECT_EQ(m.Caption(L::lblRecv), "0 KB");
  m.Tick({Row(1, 12'048)});
  EXPECT_EQ(m.Caption(L::lblDSpeed), "1.00 KBS ") << "2,048 bytes over the 2 s since the last good snapshot";
}

TEST(MonitorTick, IntervalTexts) {
  struct Case {
    const char *text;
    std::int64_t expected;
  };
  const Case cases[] = {{"150", 150},  {"abc", 200},   {"-5", 200}, {"70000", 200}, {"0", 200},
                        {"99.5", 100}, {"100.5", 100}, {"", 200},   {"0.4", 200},   {"65535", 65535}};
  for (const auto &c : cases) {
    Monitor m;
    m.window.intervalText = c.text;
    m.Tick({Row(1, 0)});
    EXPECT_EQ(m.window.update.interval, c.expected) << '"' << c.text << '"';
    EXPECT_TRUE(m.window.update.enabled);
  }
}

TEST(MonitorTick, ConnectionListFollowsTheInterfaceCount) {
  const std::vector<MibRow> three = {Row(1, 0), Row(2, 0), Row(3, 0)};
  const std::vector<MibRow> four = {Row(1, 0), Row(2, 0), Row(3, 0), Row(4, 0)};
  Monitor m;
  m.settings.values["Tallyflow Manager\\Setting\\Connection"] = "3";
  m.Tick(three);
  EXPECT_EQ(m.window.list, (std::vector<std::string>{"Adapter 1 ", "Adapter 2 ", "Adapter 3 "}));
  EXPECT_EQ(m.window.index, 0) << "index 3 cannot be selected among three";
  EXPECT_EQ(m.settings.reads, 1);

  m.window.index = 2; // the user picks the third
  m.Tick(three);
  EXPECT_EQ(m.window.clears, 1) << "same count: no rebuild";
  EXPECT_EQ(m.window.index, 2);
  EXPECT_EQ(m.Caption(L::lblType), "Adapter 3 ");

  m.Tick(four);
  EXPECT_EQ(m.window.clears, 2);
  EXPECT_EQ(m.window.list.size(), 4u);
  EXPECT_EQ(m.window.index, 3) << "the stored index now fits";
  EXPECT_EQ(m.settings.reads, 2) << "read once per rebuild: the store may be a large file";

  m.window.index = -1;
  m.Tick(four);
  EXPECT_EQ(m.Caption(L::lblType), "Adapter 3 ") << "no selection keeps the caption";

  // The list is filled from one snapshot: a table that changes between the
  // tick's two reads still gives a list that matches one of them whole.
  Monitor n;
  n.table->Push(BuildMibTable(three));
  n.table->Push(BuildMibTable({Row(7, 0), Row(8, 0)}));
  n.tick.tmrUpdate_Timer();
  EXPECT_EQ(n.window.list, (std::vector<std::string>{"Adapter 7 ", "Adapter 8 "}));
}

TEST(MonitorTick, StoredConnectionIndexThatCannotBeSelected) {
  struct Case {
    const char *stored;
    std::int16_t expected;
  };
  const Case cases[] = {{"1", 1}, {"1.5", 2}, {"2.5", 2}, {"-1", -1}, {"-3", -1}, {"abc", 0}, {"2xyz", 2}};
  for (const auto &c : cases) {
    Monitor m;
    m.settings.values["Tallyflow Manager\\Setting\\Connection"] = c.stored;
    m.Tick({Row(1, 0), Row(2, 0), Row(3, 0), Row(4, 0)});
    EXPECT_EQ(m.window.index, c.expected) << '"' << c.stored << '"';
  }
}

TEST(MonitorTick, Timer1ClearsTopsUnderTrafficAndStopsAfterAQuietPeriod) {
  Monitor m;
  std::uint32_t in = 0;
  m.Tick({Row(1, in)});
  for (int period = 0; period < 3; ++period) {
    m.Tick({Row(1, in += 4096)});
    EXPECT_GT(m.tick.TopDownload(), 0.0);
    m.tick.Timer1_Timer();
    EXPECT_EQ(m.tick.TopDownload(), 0.0);
    EXPECT_TRUE(m.window.timer1.enabled) << "still clearing under traffic";
  }
  m.Tick({Row(1, in)}); // quiet
  m.tick.Timer1_Timer();
  EXPECT_FALSE(m.window.timer1.enabled) << "stopped for good";
  m.Tick({Row(1, in += 8192)});
  EXPECT_EQ(m.tick.TopDownload(), 8192.0) << "from now on the tops only grow";
}

TEST(MonitorTick, YieldsRunOtherEventsMidTickWithTheTimerDisabled) {
  Monitor m;
  m.Tick({Row(1, 0)});
  bool disabledDuringYields = true;
  m.yield.onEach = [&](int n) {
    disabledDuringYields = disabledDuringYields && !m.window.update.enabled;
    if (n == 4) {
      m.tick.Timer1_Timer(); // Timer1 fires in the second yield of the second tick
    }
  };
  m.Tick({Row(1, 10240)});
  EXPECT_EQ(m.yield.runs, 4);
  EXPECT_TRUE(disabledDuringYields);
  EXPECT_TRUE(m.window.update.enabled);
  EXPECT_EQ(m.Caption(L::lblDownloadSpeedTop), "Top download speed: 0.00 Kb/S")
      << "cleared between the steps";
  EXPECT_EQ(m.Caption(L::lblDSpeed), "10.00 KBS ");
}

TEST(MonitorTick, AFailingStepLeavesTheOthersRunning) {
  struct Case {
    const char *what;
    void (*arrange)(Monitor &);
  };
  const Case cases[] = {
      {"lblRecv write fails", [](Monitor &m) { m.window.failing.insert(L::lblRecv); }},
      {"statistics write fails", [](Monitor &m) { m.window.failing.insert(L::lblDownloadSpeedTop); }},
      {"graph drawing fails", [](Monitor &m) { m.surface.failLineFrom = 0; }},
      {"no series to draw", [](Monitor &m) { m.graph.DataCollection(nullptr); }},
      {"lblType write fails",
       [](Monitor &m) {
         m.window.failing.insert(L::lblType);
         m.window.index = 0;
       }},
  };
  for (const auto &c : cases) {
    Monitor m;
    m.Tick({Row(1, 0, 0)});
    c.arrange(m);
    m.Tick({Row(1, 2048, 1024)});
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(m.window.update.enabled);
    EXPECT_EQ(m.Caption(L::lblDSpeed), "2.00 KBS ");
    EXPECT_EQ(m.Caption(L::lblUSpeed), "1.00 KBS ");
    EXPECT_EQ(m.samples.back(), 6.0) << "an average of 1 KB/s";
    EXPECT_EQ(m.window.list.size(), 1u);
  }
}

} // namespace
} // namespace tallyflow
