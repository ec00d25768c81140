#include "frmTallyflow.h"

#include "DesignPalette.h"
#include "FigureLabel.h"
#include "ProgramIcon.h"
#include "QtDrawingSurface.h"
#include "QtTimer.h"
#include "Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>

#include <cmath>

namespace tallyflow {
namespace {

constexpr int kClientWidth = 5685;             // twips
constexpr int kClientHeight = 5415;            // twips
constexpr std::int64_t kDefaultInterval = 200; // ms
const char *const kDesignTitle = "Tallyflow Monitor";

// Stored numbers are our own decimal texts: no grouping, "." for a fraction.
const NumberLocale kStoredNumbers{"", "."};

} // namespace

frmTallyflow::frmTallyflow(Services services) : m_services(std::move(services)) {
  setObjectName("frmTallyflow");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(kDesignTitle);
  m_title = kDesignTitle; // what Title compares with
  setWindowIcon(ProgramIcon());
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  setPalette(DesignPalette());
  PaintBackground(this, kDesignFace);
  BuildControls();

  m_tmrUpdate = new QtTimer(this);
  m_tmrUpdate->Interval(100);
  m_Timer1 = new QtTimer(this);
  m_Timer1->Interval(2000);
}

frmTallyflow::~frmTallyflow() = default;

std::string frmTallyflow::SettingsKey() const {
  return "Software\\Quorrin Software\\" + m_services.facts.exeName + "\\Main";
}

// Wayland gives a client no say over its place and reports positions that
// mean nothing: there the window is neither placed nor is its place saved.
static bool PositionsMeanSomething() { return !QGuiApplication::platformName().startsWith("wayland"); }

void frmTallyflow::PlaceWindow(double leftTwips, double topTwips) {
  const QPoint at(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
  bool visible = false;
  for (const QScreen *s : QGuiApplication::screens()) {
    visible = visible || s->geometry().intersects(QRect(at, frameGeometry().size()));
  }
  if (leftTwips == 0 || topTwips == 0 || !visible) {
    Centre();
    // The frame's size is known only once the window manager framed the
    // window: centre again then.
    m_placement = Placement::CentreOnceFramed;
  } else {
    move(at);
    m_placement = Placement::Placed;
  }
}

void frmTallyflow::Centre() {
  const QScreen *primary = QGuiApplication::primaryScreen();
  const QRect screen = primary != nullptr ? primary->geometry() : QRect(0, 0, 800, 600);
  const QSize outer = frameGeometry().size();
  // In twips as the window keeps them.
  const auto d = static_cast<std::int64_t>(
      std::nearbyint(PixelsToTwips(screen.height()) - PixelsToTwips(outer.height())));
  const auto w =
      static_cast<std::int64_t>(std::nearbyint(PixelsToTwips(screen.width()) - PixelsToTwips(outer.width())));
  move(screen.x() + TwipsToPixels(static_cast<double>(w / 2)),
       screen.y() + TwipsToPixels(static_cast<double>(d / 2)));
}

void frmTallyflow::moveEvent(QMoveEvent *event) {
  if (m_placement == Placement::CentreOnceFramed && frameGeometry().size() != size()) {
    m_placement = Placement::Placed;
    Centre();
  }
  QWidget::moveEvent(event);
}

void frmTallyflow::Form_Load() {
  IRegistry &reg = *m_services.registry;
  const std::string key = SettingsKey();
  auto storedNumber = [&](const char *name) {
    const auto text = GetRegValue(reg, Hive::CurrentUser, key, name);
    const auto number = text ? ReadNumber(*text, kStoredNumbers) : std::nullopt;
    return number && std::isfinite(*number) ? static_cast<double>(static_cast<float>(*number)) : 0.0;
  };
  if (PositionsMeanSomething()) {
    PlaceWindow(storedNumber("Left"), storedNumber("Top"));
  }

  const std::string interval = GetRegValue(reg, Hive::CurrentUser, key, "UpdateInterval").value_or("");
  cboUpdateInterval->setEditText(QString::fromStdString(interval));
  const auto usable = MonitorTick::ParseInterval(interval, m_services.locale);
  if (usable) {
    m_tmrUpdate->Interval(*usable);
  } else {
    // Empty, not a number, or one the timer cannot use (0 would stop it).
    m_tmrUpdate->Interval(kDefaultInterval);
    cboUpdateInterval->setEditText(QString::number(kDefaultInterval));
  }

  colSamples.assign(100, 0.0);
  objGraph.PictureBox(PIC1);
  objGraph.DataCollection(&colSamples);
  objGraph.PicBackground(0);
  objGraph.PicForeground(0x00FF00);
  objGraph.BorderColor(0x0000FF);
  objGraph.BorderSize(0);
  objGraph.GridColor(0x808000);
  objGraph.GridVisible(true);

  objIpHelper = std::make_shared<CIpHelper>(m_services.ifTable);
  m_tick = std::make_unique<MonitorTick>(*this, objIpHelper, objGraph, colSamples, *m_services.clock,
                                         m_services.locale, m_services.facts.title);
  m_tmrUpdate->OnTick([this] { m_tick->tmrUpdate_Timer(); });
  m_Timer1->OnTick([this] { m_tick->Timer1_Timer(); });
  if (!m_tick->RebuildConnectionList(*objIpHelper->Interfaces()) && ConnectionCount() > 0) {
    ConnectionIndex(0); // a stored index that cannot be selected: the first entry
  }

  // Anything but "1" leaves the box unchecked.
  const auto startUp = GetRegValue(reg, Hive::CurrentUser, key, "StartUp");
  chkStartUp->setChecked(startUp == std::optional<std::string>("1"));

  m_tmrUpdate->Enabled(true);
  m_Timer1->Enabled(true);
  if (chkStartUp->isChecked()) {
    showMinimized();
  } else {
    showNormal();
  }
  setAttribute(Qt::WA_KeyboardFocusChange); // the focus ring shows from the start (showing clears it)
}

void frmTallyflow::Form_Unload() {
  if (m_unloading) {
    return;
  }
  m_unloading = true;
  // One write: a position is never saved half (Left without Top).
  std::vector<std::pair<std::string, std::string>> values;
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) && PositionsMeanSomething()) {
    const QPoint at = pos(); // the outer top-left corner
    values.emplace_back("Left", std::to_string(static_cast<long long>(PixelsToTwips(at.x()))));
    values.emplace_back("Top", std::to_string(static_cast<long long>(PixelsToTwips(at.y()))));
  }
  values.emplace_back("UpdateInterval", UpdateIntervalText());
  SetRegValues(*m_services.registry, Hive::CurrentUser, SettingsKey(), values);
  m_tmrUpdate->Enabled(false);
  m_Timer1->Enabled(false);
  if (m_services.endProgram) {
    m_services.endProgram();
  }
}

void frmTallyflow::chkStartUp_Click() {
  const PathStyle style = m_services.pathStyle;
  const std::string fullPath =
      JoinPath(m_services.facts.exeDirectory, GetFileName(m_services.facts.exePath, style), style);
  IRegistry &reg = *m_services.registry;
  // The box says whether the program will start at log-on: it falls back
  // when no entry could be written, and stays ticked while an entry that
  // could not be removed remains.
  const bool wanted = chkStartUp->isChecked();
  const bool starts =
      wanted ? AddStartUpEntry(reg, fullPath, style) : !RemoveStartUpEntry(reg, fullPath, style);
  if (starts != wanted) {
    const QSignalBlocker quiet(chkStartUp);
    chkStartUp->setChecked(starts);
  }
  SetRegValue(reg, Hive::CurrentUser, SettingsKey(), "StartUp", chkStartUp->isChecked() ? "1" : "0");
}

void frmTallyflow::btnAbout_Click() {
  if (m_services.showAbout) {
    m_services.showAbout(this);
  }
}

void frmTallyflow::btnExit_Click() { Form_Unload(); }

void frmTallyflow::closeEvent(QCloseEvent *event) {
  Form_Unload();
  event->accept();
}

ITimer &frmTallyflow::tmrUpdate() { return *m_tmrUpdate; }
ITimer &frmTallyflow::Timer1() { return *m_Timer1; }

std::string frmTallyflow::UpdateIntervalText() const {
  return cboUpdateInterval->currentText().toStdString();
}

std::int16_t frmTallyflow::ConnectionIndex() const {
  return static_cast<std::int16_t>(cboConnectionType->currentIndex());
}

bool frmTallyflow::ConnectionIndex(std::int16_t index) {
  if (index < -1 || index >= cboConnectionType->count()) {
    return false;
  }
  cboConnectionType->setCurrentIndex(index);
  return true;
}

int frmTallyflow::ConnectionCount() const { return cboConnectionType->count(); }
void frmTallyflow::ConnectionClear() { cboConnectionType->clear(); }
void frmTallyflow::ConnectionAdd(const std::string &text) {
  cboConnectionType->addItem(QString::fromStdString(text));
  if (cboConnectionType->currentIndex() == 0 && cboConnectionType->count() == 1) {
    cboConnectionType->setCurrentIndex(-1); // a refilled list starts without a selection
  }
}

QLabel *frmTallyflow::LabelOf(MonitorLabel label) const { return m_labels.at(label); }

// Captions are kept as the tick wrote them, so an unchanged one costs a
// string compare and never touches the label.
bool frmTallyflow::Caption(MonitorLabel label, const std::string &text) {
  std::string &shown = m_captions.at(label);
  if (text == shown) {
    return true; // unchanged: no relayout, no repaint
  }
  QLabel *l = LabelOf(label);
  if (auto *figure = dynamic_cast<FigureLabel *>(l)) {
    figure->SetFigure(QString::fromStdString(text)); // repaints only what changed
  } else {
    l->setText(QString::fromStdString(text));
  }
  shown = text;
  if (m_sizedToText.contains(l)) {
    l->adjustSize(); // with the font actually used
  }
  return true;
}

const std::string &frmTallyflow::Caption(MonitorLabel label) const { return m_captions.at(label); }

void frmTallyflow::Title(const std::string &text) {
  if (text == m_title) {
    return; // unchanged: a title change is a round trip to the window manager
  }
  m_title = text;
  setWindowTitle(QString::fromStdString(text));
}

void frmTallyflow::Yield() {
  if (m_services.yield != nullptr) {
    m_services.yield->Yield();
  }
}

std::string frmTallyflow::GetSetting(const std::string &appName, const std::string &section,
                                     const std::string &key, const std::string &defaultValue) const {
  return m_services.settings->GetSetting(appName, section, key, defaultValue);
}

} // namespace tallyflow
