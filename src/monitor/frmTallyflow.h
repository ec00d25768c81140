#pragma once

#include "AppFacts.h"
#include "CIpHelper.h"
#include "IMonitorView.h"
#include "IMonotonicClock.h"
#include "ISettingsStore.h"
#include "IYield.h"
#include "MonitorTick.h"
#include "NumberPicture.h"
#include "RegStartUp.h"
#include "SampleSeries.h"
#include "Twips.h"
#include "clsLineGraph.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tallyflow {

class QtDrawingSurface;
class QtTimer;

// The window's controls, in the order they are made.
const std::vector<ControlLayout> &MonitorLayout();

// The monitor window: graph, statistics, connection list, totals, rates,
// interval, start-up box and the two buttons, in a fixed-size window.
class frmTallyflow final : public QWidget, public IMonitorView {
public:
  // What the window is given: the platform's table and registry, and the
  // services it must not reach for itself.
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
    std::function<void(QWidget *owner)> showAbout;
  };

  explicit frmTallyflow(Services services);
  ~frmTallyflow() override;

  void Form_Load();
  void Form_Unload();
  void chkStartUp_Click();
  void btnAbout_Click();
  void btnExit_Click();

  // The registry key of the settings.
  std::string SettingsKey() const;
  const MonitorTick &Tick() const { return *m_tick; }
  QtDrawingSurface *Surface() const { return PIC1; }

  // IMonitorView
  ITimer &tmrUpdate() override;
  ITimer &Timer1() override;
  std::string UpdateIntervalText() const override;
  std::int16_t ConnectionIndex() const override;
  bool ConnectionIndex(std::int16_t index) override;
  int ConnectionCount() const override;
  void ConnectionClear() override;
  void ConnectionAdd(const std::string &text) override;
  bool Caption(MonitorLabel label, const std::string &text) override;
  const std::string &Caption(MonitorLabel label) const override;
  void Title(const std::string &text) override;
  void Yield() override;
  std::string GetSetting(const std::string &appName, const std::string &section, const std::string &key,
                         const std::string &defaultValue) const override;

protected:
  void closeEvent(QCloseEvent *event) override;
  void moveEvent(QMoveEvent *event) override;

private:
  // Where the window stands with its place on the screen.
  enum class Placement {
    Unplaced,         // before Form_Load, and for good where the system places windows
    CentreOnceFramed, // centred by its inner size; centred again once framed
    Placed,
  };

  void BuildControls();
  void PlaceWindow(double leftTwips, double topTwips);
  void Centre();
  QLabel *LabelOf(MonitorLabel label) const;

  Services m_services;

  // Controls (owned by Qt's parent-child tree).
  QtDrawingSurface *PIC1 = nullptr;
  QFrame *Frame2 = nullptr;
  QFrame *Frame3 = nullptr;
  QComboBox *cboConnectionType = nullptr;
  QComboBox *cboUpdateInterval = nullptr;
  QCheckBox *chkStartUp = nullptr;
  QPushButton *btnAbout = nullptr;
  QPushButton *btnExit = nullptr;
  std::map<MonitorLabel, QLabel *> m_labels;
  std::map<MonitorLabel, std::string> m_captions; // each label's text, in UTF-8
  std::string m_title;                            // the window title as last set, in UTF-8
  std::map<std::string, QWidget *> m_controls;    // by name, for layout
  std::set<const QWidget *> m_sizedToText;        // labels whose size follows their text
  QtTimer *m_tmrUpdate = nullptr;
  QtTimer *m_Timer1 = nullptr;

  // What the window owns for the whole run.
  std::shared_ptr<CIpHelper> objIpHelper;
  clsLineGraph objGraph;
  SampleSeries colSamples;
  std::unique_ptr<MonitorTick> m_tick;
  bool m_unloading = false;
  Placement m_placement = Placement::Unplaced;
};

} // namespace tallyflow
