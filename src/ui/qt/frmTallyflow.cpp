#include "ui/qt/frmTallyflow.h"

#include "ui/qt/AccessibleRoles.h"

#include "ui/qt/DesignPalette.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/QtDrawingSurface.h"
#include "ui/qt/QtTimer.h"
#include "ui/qt/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>

namespace tallyflow {
namespace {

// Wayland gives a client no say over its place and reports positions that
// mean nothing: there the window is neither placed nor is its place saved.
bool PositionsMeanSomething() { return !QGuiApplication::platformName().startsWith("wayland"); }

TwipsRect ToTwips(const QRect &r) {
  return {PixelsToTwips(r.x()), PixelsToTwips(r.y()), PixelsToTwips(r.width()), PixelsToTwips(r.height())};
}

} // namespace

frmTallyflow::frmTallyflow(Services services) : m_form(*this, std::move(services)) {
  setObjectName("frmTallyflow");
  SetAccessibleRole(*this, AccessibleRole::Window); // a plain QWidget would be a "filler"
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(kMonitorDesignTitle);
  m_title = kMonitorDesignTitle; // what Title compares with
  setWindowIcon(ProgramIcon());
  setFixedSize(TwipsToPixels(kMonitorClientWidth), TwipsToPixels(kMonitorClientHeight));
  setPalette(DesignPalette());
  PaintBackground(this, kDesignFace);
  BuildControls();

  m_tmrUpdate = new QtTimer(this);
  m_tmrUpdate->Interval(100);
  m_Timer1 = new QtTimer(this);
  m_Timer1->Interval(2000);
}

frmTallyflow::~frmTallyflow() = default;

std::optional<TwipsRect> frmTallyflow::OuterBounds() const {
  if (!PositionsMeanSomething()) {
    return std::nullopt;
  }
  return ToTwips(frameGeometry());
}

void frmTallyflow::MoveOuter(double leftTwips, double topTwips) {
  move(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
}

TwipsRect frmTallyflow::PrimaryScreen() const {
  const QScreen *primary = QGuiApplication::primaryScreen();
  return ToTwips(primary != nullptr ? primary->geometry() : QRect(0, 0, 800, 600));
}

std::vector<TwipsRect> frmTallyflow::WorkAreas() const {
  std::vector<TwipsRect> areas;
  for (const QScreen *s : QGuiApplication::screens()) {
    areas.push_back(ToTwips(s->availableGeometry()));
  }
  return areas;
}

WindowState frmTallyflow::State() const {
  if (windowState() & Qt::WindowMinimized) {
    return WindowState::Minimised;
  }
  return windowState() & Qt::WindowMaximized ? WindowState::Maximised : WindowState::Normal;
}

void frmTallyflow::Show(WindowState state) {
  // The frame's size is known only once the window manager framed the
  // window: a centred window is centred again then.
  m_placement = m_form.Centred() ? Placement::CentreOnceFramed : Placement::AsGiven;
  if (state == WindowState::Minimised) {
    showMinimized();
  } else {
    showNormal();
  }
  // Qt moves the first window it shows to a -qwindowgeometry, if one was
  // given, and says so in a move event after this.
  if (m_placement == Placement::AsGiven) {
    m_placement = Placement::KeepWithinReach;
  }
  setAttribute(Qt::WA_KeyboardFocusChange); // the focus ring shows from the start (showing clears it)
}

void frmTallyflow::moveEvent(QMoveEvent *event) {
  if (m_placement == Placement::CentreOnceFramed && frameGeometry().size() != size()) {
    m_placement = Placement::AsGiven;
    m_form.CentreWindow();
  } else if (m_placement != Placement::AsGiven) {
    if (m_placement == Placement::KeepWithinReach) {
      m_placement = Placement::AsGiven;
    }
    m_form.KeepWithinReach();
  }
  QWidget::moveEvent(event);
}

void frmTallyflow::closeEvent(QCloseEvent *event) {
  m_form.Form_Unload();
  event->accept();
}

ITimer &frmTallyflow::tmrUpdate() { return *m_tmrUpdate; }
ITimer &frmTallyflow::Timer1() { return *m_Timer1; }
DrawingSurface &frmTallyflow::PIC1() { return *m_PIC1; }

std::string frmTallyflow::UpdateIntervalText() const {
  return cboUpdateInterval->currentText().toStdString();
}

void frmTallyflow::UpdateIntervalText(const std::string &text) {
  cboUpdateInterval->setEditText(QString::fromStdString(text));
}

bool frmTallyflow::StartUpBox() const { return chkStartUp->isChecked(); }

void frmTallyflow::StartUpBox(bool checked) {
  const QSignalBlocker quiet(chkStartUp); // the logic raises the click itself
  chkStartUp->setChecked(checked);
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
  l->setText(QString::fromStdString(text));
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

} // namespace tallyflow
