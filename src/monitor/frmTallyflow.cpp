#include "frmTallyflow.h"

#include "DesignPalette.h"
#include "EnterKey.h"
#include "ProgramIcon.h"
#include "QtDrawingSurface.h"
#include "QtTimer.h"
#include "Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace tallyflow {
namespace {

constexpr int kClientWidth = 5685;             // twips
constexpr int kClientHeight = 5415;            // twips
constexpr std::int64_t kDefaultInterval = 200; // ms
const QColor kFace(236, 233, 216);
const char *const kDesignTitle = "Tallyflow Monitor";

// Stored numbers are our own decimal texts: no grouping, "." for a fraction.
const NumberLocale kStoredNumbers{"", "."};

} // namespace

const std::vector<ControlLayout> &MonitorLayout() {
  static const std::vector<ControlLayout> layout = {
      {"PIC1", "", 0, 0, 5685, 1750, false},
      {"Frame2", "", 0, 1710, 5700, 2040, false},
      {"lblDownloadSpeedTop", "Frame2", 45, 150, 1545, 195, true},
      {"lblUploadSpeedTop", "Frame2", 45, 390, 1335, 195, true},
      {"lblDownloadSpeedAverage", "Frame2", 60, 645, 1890, 195, true},
      {"lblUploadSpeedAverage", "Frame2", 60, 885, 1680, 195, true},
      {"cboConnectionType", "Frame2", 60, 1155, 5460, 330, false},
      {"Label1", "Frame2", 0, 1560, 1650, 345, false},
      {"lblType", "Frame2", 1395, 1560, 4290, 465, false},
      {"Frame3", "", 0, 3660, 5700, 1770, false},
      {"Label2", "Frame3", 120, 280, 1170, 210, true},
      {"lblRecv", "Frame3", 1515, 225, 1650, 300, false},
      {"Label3", "Frame3", 120, 650, 825, 210, true},
      {"lblSent", "Frame3", 1515, 585, 1650, 300, false},
      {"Label4", "Frame3", 120, 1000, 1275, 210, true},
      {"lblDSpeed", "Frame3", 1515, 945, 1650, 300, false},
      {"Label5", "Frame3", 120, 1350, 1035, 210, true},
      {"lblUSpeed", "Frame3", 1515, 1305, 1650, 300, false},
      {"Label6", "Frame3", 3360, 285, 1080, 210, true},
      {"cboUpdateInterval", "Frame3", 4560, 240, 975, 315, false},
      {"Image1", "Frame3", 3720, 600, 480, 480, false},
      {"chkStartUp", "Frame3", 4560, 720, 855, 255, false},
      {"btnAbout", "Frame3", 3480, 1200, 975, 375, false},
      {"btnExit", "Frame3", 4560, 1200, 975, 375, false},
  };
  return layout;
}

frmTallyflow::frmTallyflow(Services services) : m_services(std::move(services)) {
  setObjectName("frmTallyflow");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(kDesignTitle);
  m_title = kDesignTitle; // what Title compares with
  setWindowIcon(ProgramIcon());
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  setPalette(DesignPalette());
  PaintBackground(this, kFace);
  BuildControls();

  m_tmrUpdate = new QtTimer(this);
  m_tmrUpdate->Interval(100);
  m_Timer1 = new QtTimer(this);
  m_Timer1->Interval(2000);
}

frmTallyflow::~frmTallyflow() = default;

void frmTallyflow::BuildControls() {
  InstallFontSubstitutes();
  setFont(DesignFont("MS Sans Serif", 8.25)); // buttons, check box, combo text
  const QFont tahoma = DesignFont("Tahoma", 8.25);
  const QFont arial = DesignFont("Arial", 8.25);
  const QFont arialBold = DesignFont("Arial", 8.25, true);

  PIC1 = new QtDrawingSurface(this, 0);
  PIC1->BackColor(0xD8E9EC); // the face colour (0x00BBGGRR) until the first Draw makes it black
  PIC1->setAccessibleName("Download graph");
  PIC1->setToolTip("The average download rate, on a fixed scale of 0 to 95 KB/s.");
  Frame2 = new QFrame(this);
  Frame3 = new QFrame(this);
  for (QFrame *frame : {Frame2, Frame3}) {
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    PaintBackground(frame, kFace);
  }
  m_controls = {{"PIC1", PIC1}, {"Frame2", Frame2}, {"Frame3", Frame3}};

  auto label = [&](const char *name, QFrame *parent, const char *text, const QFont &font) {
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setFont(font);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop); // text from the top, as the design draws it
    m_controls[name] = l;
    return l;
  };
  // What the figures mean, where the user looks. Labels keep no accessible
  // name of their own: a screen reader reads their text, the figure.
  const char *const kPerSecond = "Kb/S: kilobytes (1,024 bytes) per second.";
  const char *const kTop =
      "Kb/S: kilobytes (1,024 bytes) per second. The top of the last 2 seconds while "
      "download traffic keeps arriving; of the whole run once 2 quiet seconds have passed.";
  const struct {
    MonitorLabel id;
    const char *name;
    const char *text;
    const char *tip;
  } statistics[] = {
      {MonitorLabel::lblDownloadSpeedTop, "lblDownloadSpeedTop", "Top download speed:", kTop},
      {MonitorLabel::lblUploadSpeedTop, "lblUploadSpeedTop", "Top upload speed:", kTop},
      {MonitorLabel::lblDownloadSpeedAverage, "lblDownloadSpeedAverage",
       "Average download speed:", kPerSecond},
      {MonitorLabel::lblUploadSpeedAverage, "lblUploadSpeedAverage", "Average upload speed:", kPerSecond},
  };
  for (const auto &s : statistics) {
    m_labels[s.id] = label(s.name, Frame2, s.text, tahoma);
    m_labels[s.id]->setToolTip(s.tip);
  }

  cboConnectionType = new QComboBox(Frame2);
  cboConnectionType->setFont(arialBold);
  cboConnectionType->setEditable(false);
  PaintBackground(cboConnectionType, Qt::white);
  m_controls["cboConnectionType"] = cboConnectionType;
  // A combo box's accessible name would be its current entry: it takes the
  // caption beside it instead, and the caption labels it.
  cboConnectionType->setAccessibleName("Connection type");
  label("Label1", Frame2, " Connection type :", arial)->setBuddy(cboConnectionType);
  QLabel *type = label("lblType", Frame2, "TokenRing ", arial);
  type->setWordWrap(true);
  type->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  type->setStyleSheet("color: rgb(64, 64, 64);");
  m_labels[MonitorLabel::lblType] = type;

  const char *const kTotal = "KB: kilobytes (1,024 bytes), summed over every interface, loopback included. "
                             "Each interface's counter wraps after 4 GiB.";
  const char *const kSpeed = "BS: bytes per second; KBS: kilobytes (1,024 bytes) per second.";
  const struct {
    const char *caption;
    const char *captionText;
    MonitorLabel id;
    const char *name;
    const char *design;
    const char *tip;
  } values[] = {
      {"Label2", " Received bytes", MonitorLabel::lblRecv, "lblRecv", "Label1", kTotal},
      {"Label3", " Sent bytes", MonitorLabel::lblSent, "lblSent", "Label1", kTotal},
      {"Label4", " Download speed", MonitorLabel::lblDSpeed, "lblDSpeed", "Label6", kSpeed},
      {"Label5", " Upload speed", MonitorLabel::lblUSpeed, "lblUSpeed", "Label7", kSpeed},
  };
  for (const auto &v : values) {
    QLabel *caption = label(v.caption, Frame3, v.captionText, arial);
    QLabel *box = label(v.name, Frame3, v.design, arial);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PaintBackground(box, Qt::white);
    box->setToolTip(v.tip);
    caption->setBuddy(box); // the caption labels the figure for accessibility tools
    m_labels[v.id] = box;
  }
  QLabel *intervalCaption = label("Label6", Frame3, "Update Interval", arial);

  cboUpdateInterval = new QComboBox(Frame3);
  cboUpdateInterval->setEditable(true);
  cboUpdateInterval->setCompleter(nullptr); // "150" stays 150: no completion to a listed 1500
  cboUpdateInterval->setInsertPolicy(QComboBox::NoInsert);
  for (int ms = 100; ms <= 2000; ms += 100) {
    cboUpdateInterval->addItem(QString::number(ms));
  }
  cboUpdateInterval->setEditText("200");
  cboUpdateInterval->setAccessibleName("Update Interval");
  intervalCaption->setBuddy(cboUpdateInterval);
  cboUpdateInterval->setToolTip(
      "Milliseconds between two samples, from 1 to 65535. The interface table counts bytes in 32 bits, so an "
      "interface that moves 4 GiB or more between two samples shows too little: above about 400 MB/s, keep "
      "the interval under 10000.");
  m_controls["cboUpdateInterval"] = cboUpdateInterval;

  auto *image = new QLabel(Frame3);
  image->setPixmap(ProgramIconPixmap(TwipsToPixels(480)));
  m_controls["Image1"] = image;

  chkStartUp = new QCheckBox("Startup", Frame3);
  PaintBackground(chkStartUp, kFace);
  m_controls["chkStartUp"] = chkStartUp;
  btnAbout = new QPushButton("About", Frame3);
  btnExit = new QPushButton("Exit", Frame3);
  for (QPushButton *b : {btnAbout, btnExit}) {
    PaintBackground(b, kFace);
    PressOnEnter(b); // as Windows buttons do
  }
  m_controls["btnAbout"] = btnAbout;
  m_controls["btnExit"] = btnExit;

  for (const auto &c : MonitorLayout()) {
    QWidget *w = m_controls.at(c.name);
    w->setObjectName(c.name);
    w->setGeometry(TwipsRect(c.left, c.top, c.width, c.height));
    if (c.sizedToText) {
      w->adjustSize(); // with the font actually used
      m_sizedToText.insert(w);
    }
  }
  for (QWidget *w : std::initializer_list<QWidget *>{PIC1, Frame2, Frame3, m_labels[MonitorLabel::lblRecv],
                                                     m_labels[MonitorLabel::lblSent], image}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
  // Every label shows its text as characters: interface names, aliases and settings are
  // data, and QLabel would otherwise guess markup and load what it names.
  for (QLabel *l : findChildren<QLabel *>()) {
    l->setTextFormat(Qt::PlainText);
  }
  for (const auto &[id, l] : m_labels) {
    m_captions[id] = l->text().toStdString();
  }
  setTabOrder(cboConnectionType, cboUpdateInterval);
  setTabOrder(cboUpdateInterval, chkStartUp);
  setTabOrder(chkStartUp, btnAbout);
  setTabOrder(btnAbout, btnExit);

  connect(chkStartUp, &QCheckBox::toggled, this, [this] { chkStartUp_Click(); });
  connect(btnAbout, &QPushButton::clicked, this, [this] { btnAbout_Click(); });
  connect(btnExit, &QPushButton::clicked, this, [this] { btnExit_Click(); });
}

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
