#pragma once

#include "graph/SampleSeries.h"
#include "graph/clsLineGraph.h"
#include "monitor/IMonitorWindow.h"
#include "monitor/TrafficDelta.h"
#include "netstats/CIpHelper.h"
#include "pictures/NumberPicture.h"
#include "services/IMonotonicClock.h"
#include "services/ISettingsStore.h"
#include "services/IYield.h"

#include <chrono>
#include <memory>
#include <string>

namespace tallyflow {

// The monitor window's sampling tick and its statistics. Every figure is in
// bytes per second: the bytes that moved between two snapshots divided by the
// time that really passed between them (a tick can come late).
class MonitorTick {
public:
  // `yield` runs the window's pending events between the steps; nullptr for
  // none. The stored connection index is read from `settings`.
  MonitorTick(IMonitorWindow &window, IYield *yield, const ISettingsStore &settings,
              std::shared_ptr<CIpHelper> ipHelper, clsLineGraph &graph, SampleSeries &samples,
              const IMonotonicClock &clock, NumberLocale locale, std::string appTitle);

  // tmrUpdate fired: one snapshot, the figures, labels, title, graph and the
  // connection list. Each step is guarded on its own: a failing step skips
  // the rest of its own work and the tick goes on; tmrUpdate is always
  // enabled again at the end.
  void tmrUpdate_Timer();

  // Timer1 fired (every 2 s): clears both tops while download traffic keeps
  // coming, else stops for good.
  void Timer1_Timer();

  double TopDownload() const { return dblTopDownload; }
  double TopUpload() const { return dblTopUpload; }
  double AverageDownload() const { return dblAverageDownload; }
  double AverageUpload() const { return dblAverageUpload; }
  // Steps that failed since start, for diagnostics and tests.
  int FailedSteps() const { return m_failedSteps; }

  // The text of cboUpdateInterval as an interval in ms: a number rounded half
  // to even, from 1 to 65,535; anything else (0 included) is unusable.
  static std::optional<std::int64_t> ParseInterval(const std::string &text, const NumberLocale &locale);

  // Fills cboConnectionType from one snapshot (each description and a blank)
  // and selects the stored connection index, or 0 when it does not fit.
  // False when nothing could be selected.
  bool RebuildConnectionList(const CInterfaces &snapshot);

private:
  template <typename Step> void Guarded(Step &&step);
  bool ApplyInterval();
  bool ShowType(const CInterfaces &snapshot);
  bool WriteStatistics();
  bool AppendSample();
  bool WriteSpeed(MonitorLabel label, double bytesPerSecond);
  bool SyncConnectionList();

  void DoEvents();

  IMonitorWindow &m_window;
  IYield *m_yield;
  const ISettingsStore &m_settings;
  std::shared_ptr<CIpHelper> objIpHelper;
  clsLineGraph &objGraph;
  SampleSeries &colSamples;
  const IMonotonicClock &m_clock;
  NumberLocale m_locale;
  std::string m_appTitle;

  double dblTopDownload = 0;     // bytes/s
  double dblTopUpload = 0;       // bytes/s
  double dblAverageDownload = 0; // bytes/s
  double dblAverageUpload = 0;   // bytes/s

  // The last good (non-empty) snapshot and when it was taken.
  std::shared_ptr<CInterfaces> m_lastSnapshot;
  std::chrono::nanoseconds m_lastSnapshotTime{};
  TrafficDelta m_delta;
  std::string m_text; // a caption or the title being put together; its room is kept
  int m_failedSteps = 0;
};

} // namespace tallyflow
