#pragma once

#include "graph/SampleSeries.h"
#include "graph/clsLineGraph.h"
#include "monitor/IMonitorWindow.h"
#include "monitor/MonitorLayout.h"
#include "monitor/MonitorTick.h"
#include "netstats/CIpHelper.h"
#include "pictures/NumberPicture.h"
#include "registry/RegStartUp.h"
#include "services/AppFacts.h"
#include "services/IMonotonicClock.h"
#include "services/ISettingsStore.h"
#include "services/IYield.h"

#include <functional>
#include <memory>
#include <string>

namespace tallyflow {

// The monitor window's behaviour, written once for every front end: start-up
// (settings, placement, graph, connection list, start-up box), the start-up
// box's click, the two buttons and what closing saves. A front end builds
// the controls, implements IMonitorWindow over them and forwards its events
// to the handlers here.
class MonitorForm {
public:
  struct Services {
    std::shared_ptr<IIfTable> ifTable;
    IRegistry *registry = nullptr;
    const ISettingsStore *settings = nullptr;
    const IMonotonicClock *clock = nullptr;
    IYield *yield = nullptr;
    AppFacts facts;
    NumberLocale locale;
    PathStyle pathStyle = PathStyle::Posix;
    // Ends the program at once: nothing after the call runs.
    std::function<void()> endProgram;
    // Shows the About window modally; returns when it closes.
    std::function<void()> showAbout;
  };

  MonitorForm(IMonitorWindow &window, Services services);
  ~MonitorForm();
  MonitorForm(const MonitorForm &) = delete;
  MonitorForm &operator=(const MonitorForm &) = delete;

  void Form_Load();
  // Saves and ends the program; a second call (Exit inside a close) does nothing.
  void Form_Unload();
  // The user toggled chkStartUp (its new state is already in the box).
  void chkStartUp_Click();
  void btnAbout_Click();
  void btnExit_Click();
  // A button or the check box was clicked, by its identifier; the check box's
  // new state is already in the box. Other controls are not clicked.
  void Click(MonitorControl control);

  // Centres the window's outer frame on the primary screen.
  void CentreWindow();
  // Whether Form_Load centred the window rather than use a stored place.
  bool Centred() const { return m_centred; }
  // The place the window was given as it showed (a command-line geometry, a
  // window system's choice) keeps to the rule of a stored place: a frame
  // not wholly within one screen's work area is centred.
  void KeepWithinReach();

  // The registry key of the settings.
  std::string SettingsKey() const;
  const MonitorTick &Tick() const { return *m_tick; }

  // A stored position in twips: a finite decimal number within 32 bits, as
  // a 32-bit float; 0 (which centres) for anything else.
  static double StoredTwips(const std::optional<std::string> &text);
  // Whether a window with these outer bounds lies whole within one area.
  static bool WithinOneArea(const TwipsRect &outer, const std::vector<TwipsRect> &areas);

private:
  void PlaceWindow(double leftTwips, double topTwips);

  IMonitorWindow &m_window;
  Services m_services;

  // What the window owns for the whole run.
  std::shared_ptr<CIpHelper> objIpHelper;
  clsLineGraph objGraph;
  SampleSeries colSamples;
  std::unique_ptr<MonitorTick> m_tick;
  bool m_unloading = false;
  bool m_centred = false;
};

} // namespace tallyflow
