#pragma once

#include "monitor/IMonitorWindow.h"
#include "monitor/MonitorForm.h"
#include "monitor/MonitorLayout.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tallyflow {

class QtDrawingSurface;
class QtTimer;

// The monitor window on Qt: builds the controls from the layout table,
// implements IMonitorWindow over them and forwards its events to the
// window's logic (MonitorForm).
class frmTallyflow final : public QWidget, public IMonitorWindow {
public:
  // What the window is given: the platform's table and registry, and the
  // services it must not reach for itself.
  using Services = MonitorForm::Services;

  explicit frmTallyflow(Services services);
  ~frmTallyflow() override;

  void Form_Load() { m_form.Form_Load(); }
  void Form_Unload() { m_form.Form_Unload(); }

  std::string SettingsKey() const { return m_form.SettingsKey(); }
  const MonitorTick &Tick() const { return m_form.Tick(); }
  QtDrawingSurface *Surface() const { return m_PIC1; }

  // IMonitorWindow
  ITimer &tmrUpdate() override;
  ITimer &Timer1() override;
  DrawingSurface &PIC1() override;
  std::string UpdateIntervalText() const override;
  void UpdateIntervalText(const std::string &text) override;
  std::int16_t ConnectionIndex() const override;
  bool ConnectionIndex(std::int16_t index) override;
  int ConnectionCount() const override;
  void ConnectionClear() override;
  void ConnectionAdd(const std::string &text) override;
  bool Caption(MonitorLabel label, const std::string &text) override;
  const std::string &Caption(MonitorLabel label) const override;
  void Title(const std::string &text) override;
  bool StartUpBox() const override;
  void StartUpBox(bool checked) override;
  std::optional<TwipsRect> OuterBounds() const override;
  void MoveOuter(double leftTwips, double topTwips) override;
  TwipsRect PrimaryScreen() const override;
  std::vector<TwipsRect> WorkAreas() const override;
  WindowState State() const override;
  void Show(WindowState state) override;

protected:
  void closeEvent(QCloseEvent *event) override;
  void moveEvent(QMoveEvent *event) override;

private:
  // Where the window stands with its place on the screen.
  enum class Placement {
    AsGiven,          // placed from the settings, or by the system (Wayland)
    CentreOnceFramed, // centred by its inner size; centred again once framed
    KeepWithinReach,  // shown; the system's first move (a -qwindowgeometry, a frame) still checked
  };

  void BuildControls();
  QLabel *LabelOf(MonitorLabel label) const;

  // Controls (owned by Qt's parent-child tree).
  QtDrawingSurface *m_PIC1 = nullptr;
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
  std::map<int, QWidget *> m_controls;            // by identifier, for layout
  std::set<const QWidget *> m_sizedToText;        // labels whose size follows their text
  QtTimer *m_tmrUpdate = nullptr;
  QtTimer *m_Timer1 = nullptr;
  Placement m_placement = Placement::AsGiven;

  MonitorForm m_form; // last: its handlers reach the controls above
};

} // namespace tallyflow
