// The monitor window's logic on a fake window: no toolkit, no display, so it
// runs natively and under Wine alike.

#include "monitor/MonitorForm.h"

#include "fakes/FakeMonitorWindow.h"
#include "fakes/MonitorFakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tallyflow {
namespace {

constexpr auto HKCU = Hive::CurrentUser;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kKey = "Software\\Quorrin Software\\Tallyflow\\Main";
const std::string kConnection = "Software\\VB and VBA Program Settings\\Tallyflow Manager\\Setting";

struct Harness : test::MonitorFakes {
  explicit Harness(const std::string &exeName = "Tallyflow") : MonitorFakes(exeName) {}
  MonitorForm &Load() {
    MonitorForm::Services s = Services();
    s.showAbout = [this] { ++abouts; };
    form = std::make_unique<MonitorForm>(window, std::move(s));
    form->Form_Load();
    return *form;
  }
  // Where a centred window's outer top-left corner goes, in twips.
  std::pair<double, double> Centred() const {
    const TwipsRect outer = *window.OuterBounds();
    const TwipsRect screen = window.screens.front();
    return {std::trunc(std::nearbyint(screen.width - outer.width) / 2),
            std::trunc(std::nearbyint(screen.height - outer.height) / 2)};
  }
  bool IsCentred() const { return std::pair(window.left, window.top) == Centred(); }

  test::FakeMonitorWindow window;
  int abouts = 0;
  std::unique_ptr<MonitorForm> form;
};

TEST(MonitorForm, FirstRunOpensCentredWithDefaultsAndClosingSavesPositionAndInterval) {
  Harness h;
  auto &form = h.Load();
  EXPECT_TRUE(h.IsCentred()) << h.window.left << "," << h.window.top;
  EXPECT_EQ(h.window.intervalText, "200");
  EXPECT_EQ(h.window.update.interval, 200);
  EXPECT_TRUE(h.window.update.enabled);
  EXPECT_TRUE(h.window.timer1.enabled);
  EXPECT_FALSE(h.window.startUp);
  EXPECT_EQ(h.window.state, WindowState::Normal);
  EXPECT_EQ(h.window.shows, 1);
  EXPECT_EQ(h.window.list, (std::vector<std::string>{"Loopback (lo) ", "Ethernet (eth0) "}));
  EXPECT_EQ(h.window.index, 0) << "the first connection selected";
  EXPECT_EQ(h.Stored("StartUp"), "<none>") << "an untouched box writes nothing";

  form.btnAbout_Click();
  EXPECT_EQ(h.abouts, 1);
  form.btnExit_Click();
  form.Form_Unload(); // the close that follows Exit saves nothing twice
  EXPECT_EQ(h.ended, 1);
  EXPECT_FALSE(h.window.update.enabled);
  EXPECT_EQ(h.Stored("Left"), std::to_string(static_cast<long long>(h.window.left)));
  EXPECT_EQ(h.Stored("Top"), std::to_string(static_cast<long long>(h.window.top)));
  EXPECT_EQ(h.Stored("UpdateInterval"), "200");

  // The next start finds the window where it was.
  Harness again;
  again.reg = h.reg;
  again.Load();
  EXPECT_EQ(std::pair(again.window.left, again.window.top), std::pair(h.window.left, h.window.top));
}

TEST(MonitorForm, AStoredPlaceIsUsedOnlyWhenTheWholeFrameLiesOnOneScreen) {
  struct Case {
    std::string left, top;
    bool centred;
  };
  const Case cases[] = {
      {"0", "3000", true},
      {"3000", "0", true},
      {"abc", "3000", true},
      {"", "", true},
      {"9999999", "9999999", true},
      {"-9999999", "3000", true},
      {"32212250000", "1500", true}, // past 32 bits: once wrapped to a place off the screen
      {"1" + std::string(300, '0'), "1500", true},
      {"19185", "15345", true}, // one pixel on the screen
      {"1500", "9000", true},   // the bottom edge under the panel
      {"-15", "1500", true},    // a pixel off the left edge
      {"1500", "1200", false},
      {"15360", "1500", false}, // on the second screen
  };
  for (const auto &c : cases) {
    Harness h;
    h.window.screens.push_back({15360, 0, 15360, 11520});
    h.window.workAreas.push_back({15360, 0, 15360, 11520});
    SetRegValue(h.reg, HKCU, kKey, "Left", c.left);
    SetRegValue(h.reg, HKCU, kKey, "Top", c.top);
    h.Load();
    SCOPED_TRACE(c.left.substr(0, 12) + "," + c.top);
    if (c.centred) {
      EXPECT_TRUE(h.IsCentred()) << h.window.left << "," << h.window.top;
    } else {
      EXPECT_EQ(std::to_string(static_cast<long long>(h.window.left)), c.left);
      EXPECT_EQ(std::to_string(static_cast<long long>(h.window.top)), c.top);
    }
  }
}

TEST(MonitorForm, WhereTheSystemPlacesTheWindowNothingIsMovedOrSaved) {
  Harness h;
  h.window.placeable = false;
  SetRegValue(h.reg, HKCU, kKey, "Left", "3000");
  SetRegValue(h.reg, HKCU, kKey, "Top", "1500");
  auto &form = h.Load();
  EXPECT_EQ(h.window.moves, 0);
  form.Form_Unload();
  EXPECT_EQ(h.Stored("Left") + "," + h.Stored("Top"), "3000,1500");
  EXPECT_EQ(h.Stored("UpdateInterval"), "200");
}

TEST(MonitorForm, UnusableStoredValuesGiveAWorkingWindow) {
  struct Case {
    std::string interval;
    std::int64_t expected;
    const char *text;
  };
  const Case cases[] = {
      {"150", 150, "150"},   {"99.5", 100, "99.5"}, {"0", 200, "200"}, {"-5", 200, "200"},
      {"70000", 200, "200"}, {"abc", 200, "200"},   {"", 200, "200"},  {std::string(5000, '9'), 200, "200"}};
  for (const auto &c : cases) {
    Harness h;
    SetRegValue(h.reg, HKCU, kKey, "UpdateInterval", c.interval);
    h.Load();
    EXPECT_EQ(h.window.update.interval, c.expected) << c.interval.substr(0, 20);
    EXPECT_EQ(h.window.intervalText, c.text);
  }
  // The flag as an integer conversion reads it.
  for (const auto &[startUp, checked] :
       {std::pair{"2", false}, std::pair{"-1", false}, std::pair{"yes", false}, std::pair{"", false},
        std::pair{"01", true}, std::pair{"1.0", true}}) {
    Harness h;
    SetRegValue(h.reg, HKCU, kKey, "StartUp", startUp);
    h.Load();
    EXPECT_EQ(h.window.startUp, checked) << startUp;
    EXPECT_EQ(h.window.state, checked ? WindowState::Minimised : WindowState::Normal) << startUp;
  }
  {
    Harness h;
    h.table = std::make_shared<test::FakeIfTable>(); // no table at all
    h.Load();
    EXPECT_TRUE(h.window.list.empty());
    EXPECT_EQ(h.window.index, -1);
  }
  {
    Harness h;
    h.reg.Put(HKCU, kConnection, "Connection", kRegSz, "7");
    h.Load();
    EXPECT_EQ(h.window.index, 0) << "an index that cannot be selected selects the first";
  }
}

TEST(MonitorForm, GarbageInEveryStoredValueStillGivesAWorkingWindow) {
  const std::string garbage[] = {
      "",       std::string(100'000, '7'),        "-99999999999999999999",  "1e308", "NaN",
      "twelve", std::string("\0\x01\xff\xfe", 4), std::string(5000, '\xc3')};
  for (const auto &g : garbage) {
    Harness h;
    for (const char *name : {"Left", "Top", "UpdateInterval", "StartUp"}) {
      SetRegValue(h.reg, HKCU, kKey, name, g);
    }
    h.reg.Put(HKCU, kConnection, "Connection", kRegSz, g);
    auto &form = h.Load();
    SCOPED_TRACE(g.substr(0, 12));
    EXPECT_GE(h.window.update.interval, 1);
    EXPECT_LE(h.window.update.interval, 65535);
    EXPECT_FALSE(h.window.startUp);
    EXPECT_GE(h.window.index, 0);
    EXPECT_TRUE(h.IsCentred());
    form.Form_Unload();
    EXPECT_EQ(h.ended, 1);
  }
}

TEST(MonitorForm, StartUpStoredCheckedOpensMinimisedAndRewritesTheEntry) {
  Harness h;
  SetRegValue(h.reg, HKCU, kKey, "StartUp", "1");
  auto &form = h.Load();
  EXPECT_EQ(h.window.state, WindowState::Minimised);
  EXPECT_TRUE(h.window.startUp);
  EXPECT_EQ(GetRegValue(h.reg, HKLM, kRunKey, "Tallyflow"), "/opt/tallyflow/Tallyflow");
  EXPECT_EQ(h.Stored("StartUp"), "1");

  // Closed while minimised (or maximised): position kept, interval still written.
  SetRegValue(h.reg, HKCU, kKey, "Left", "1234");
  form.Form_Unload();
  EXPECT_EQ(h.ended, 1);
  EXPECT_EQ(h.Stored("Left"), "1234");
  EXPECT_EQ(h.Stored("UpdateInterval"), "200");

  Harness maximised;
  maximised.Load();
  maximised.window.state = WindowState::Maximised;
  maximised.form->Form_Unload();
  EXPECT_EQ(maximised.Stored("Left"), "<none>");
}

TEST(MonitorForm, StartUpBoxIsNeverCheckedWhileNothingWillStart) {
  Harness h;
  auto &form = h.Load();
  auto &box = h.window;
  h.reg.refused = {HKLM};
  box.ClickStartUp(form);
  EXPECT_TRUE(box.startUp) << "the user's own entry instead";
  EXPECT_EQ(GetRegValue(h.reg, HKCU, kRunKey, "Tallyflow"), "/opt/tallyflow/Tallyflow");
  box.ClickStartUp(form);
  EXPECT_FALSE(GetRegValue(h.reg, HKCU, kRunKey, "Tallyflow"));
  EXPECT_EQ(h.Stored("StartUp"), "0");

  h.reg.refused = {HKLM, HKCU}; // neither entry can be written
  box.ClickStartUp(form);
  EXPECT_FALSE(box.startUp) << "the box goes back to unchecked";
  h.reg.refused.clear();
  box.ClickStartUp(form);
  EXPECT_TRUE(box.startUp);
  EXPECT_EQ(h.Stored("StartUp"), "1");

  h.reg.refusedDelete = true; // an entry the user may not remove
  box.ClickStartUp(form);
  EXPECT_TRUE(box.startUp) << "the entry still starts the program";
  EXPECT_EQ(h.Stored("StartUp"), "1");
}

// Ticking and unticking are one change: the entry and the flag land
// together, or neither does and the box shows what is true.
TEST(MonitorForm, TheStartUpEntryAndItsFlagChangeTogether) {
  Harness h;
  auto &form = h.Load();
  auto entry = [&] { return GetRegValue(h.reg, HKLM, kRunKey, "Tallyflow").has_value(); };
  h.reg.refusedValues = {"StartUp"};
  h.window.ClickStartUp(form);
  EXPECT_FALSE(h.window.startUp) << "the flag could not be saved: unticked again";
  EXPECT_FALSE(entry()) << "and the entry taken back";
  EXPECT_EQ(h.Stored("StartUp"), "<none>");

  h.reg.refusedValues.clear();
  h.window.ClickStartUp(form);
  EXPECT_TRUE(h.window.startUp && entry());
  EXPECT_EQ(h.Stored("StartUp"), "1");

  h.reg.refusedValues = {"StartUp"};
  h.window.ClickStartUp(form);
  EXPECT_TRUE(h.window.startUp) << "the flag still says 1: ticked";
  EXPECT_TRUE(entry()) << "and the entry back in place";
  EXPECT_EQ(h.Stored("StartUp"), "1");
}

TEST(MonitorForm, AnotherExecutableNameUsesAnotherKey) {
  Harness h("netmon");
  SetRegValue(h.reg, HKCU, kKey, "UpdateInterval", "500");
  auto &form = h.Load();
  EXPECT_EQ(h.window.intervalText, "200") << "Tallyflow's settings are not netmon's";
  form.Form_Unload();
  EXPECT_EQ(h.Stored("UpdateInterval"), "200");
  EXPECT_EQ(GetRegValue(h.reg, HKCU, kKey, "UpdateInterval"), "500");
}

TEST(MonitorForm, ExitInsideATicksYieldSavesAndEnds) {
  Harness h;
  auto &form = h.Load();
  h.window.intervalText = "300";
  h.yield.hook = [&] { form.btnExit_Click(); };
  h.window.update.Fire();
  EXPECT_EQ(h.ended, 1);
  EXPECT_EQ(h.Stored("UpdateInterval"), "300");
  EXPECT_NE(h.Stored("Left"), "<none>");
  EXPECT_EQ(h.window.update.interval, 300) << "the tick applied the typed interval first";
}

} // namespace
} // namespace tallyflow
