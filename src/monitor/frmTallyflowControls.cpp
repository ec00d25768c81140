// The monitor window's controls: their layout in twips and how they are made.

#include "frmTallyflow.h"

#include "DesignPalette.h"
#include "EnterKey.h"
#include "FigureLabel.h"
#include "ProgramIcon.h"
#include "QtDrawingSurface.h"
#include "Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tallyflow {

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
    PaintBackground(frame, kDesignFace);
  }
  m_controls = {{"PIC1", PIC1}, {"Frame2", Frame2}, {"Frame3", Frame3}};

  // Figures change on every tick: they are FigureLabels, which lay out each text once.
  auto label = [&](const char *name, QFrame *parent, const char *text, const QFont &font,
                   bool figure = false) {
    QLabel *l = figure ? new FigureLabel(QString::fromLatin1(text), parent)
                       : new QLabel(QString::fromLatin1(text), parent);
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
    m_labels[s.id] = label(s.name, Frame2, s.text, tahoma, true);
    m_labels[s.id]->setToolTip(s.tip);
    static_cast<FigureLabel *>(m_labels[s.id])->PaintParentFace(true);
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
    QLabel *box = label(v.name, Frame3, v.design, arial, true);
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
  PaintBackground(chkStartUp, kDesignFace);
  m_controls["chkStartUp"] = chkStartUp;
  btnAbout = new QPushButton("About", Frame3);
  btnExit = new QPushButton("Exit", Frame3);
  for (QPushButton *b : {btnAbout, btnExit}) {
    PaintBackground(b, kDesignFace);
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

} // namespace tallyflow
