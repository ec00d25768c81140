#include "ui/qt/frmAbout.h"

#include "ui/qt/AccessibleRoles.h"
#include "ui/qt/DesignPalette.h"
#include "ui/qt/LinkLabel.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionFrame>

#include <map>
#include <string>

namespace tallyflow {
namespace {

const QColor kLink(0, 0, 192);

// The banner: a white strip with a soft teal band and the program's mark.
QPixmap BannerArt() {
  QPixmap art(464, 53);
  art.fill(Qt::white);
  QPainter p(&art);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient band(0, 0, 464, 0);
  band.setColorAt(0, QColor(0, 128, 128, 60));
  band.setColorAt(1, QColor(0, 128, 128, 0));
  p.fillRect(QRect(0, 40, 464, 13), band);
  p.drawPixmap(8, 4, ProgramIconPixmap(40));
  QFont font = DesignFont("Arial", 14, true);
  p.setFont(font);
  p.setPen(QColor(24, 28, 36));
  p.drawText(QRect(56, 4, 100, 36), Qt::AlignVCenter | Qt::AlignLeft, "Tallyflow");
  return art;
}

// A small strip for the banner's right: the words of what the program does.
QPixmap StripArt() {
  QPixmap art(167, 30);
  art.fill(Qt::white);
  QPainter p(&art);
  p.setFont(DesignFont("Arial", 8.25));
  p.setPen(QColor(0, 128, 128));
  p.drawText(art.rect(), Qt::AlignRight | Qt::AlignVCenter, "network traffic, tallied");
  return art;
}

} // namespace

frmAbout::frmAbout(Services services) : QDialog(nullptr), m_form(*this, std::move(services)) {
  setObjectName("frmAbout");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon()); // no icon of its own
  setModal(true);
  setFixedSize(TwipsToPixels(kAboutClientWidth), TwipsToPixels(kAboutClientHeight));
  setPalette(DesignPalette());
  PaintBackground(this, kDesignFace);
  BuildControls();
}

QLabel *frmAbout::Label(const char *name) const { return qobject_cast<QLabel *>(m_controls.at(name)); }

void frmAbout::BuildControls() {
  InstallFontSubstitutes();
  setFont(DesignFont("MS Sans Serif", 8.25));
  // Names for accessibility tools where a control shows no text. The labels
  // are read by their text: a name would replace it.
  const std::map<std::string, const char *> accessible = {{"Picture3", "Tallyflow"},
                                                          {"Image2", "Tallyflow"},
                                                          {"Image3", "network traffic, tallied"},
                                                          {"Text1", "Terms of use"}};

  for (const ControlLayout &c : AboutLayout()) {
    QWidget *parent = c.parent[0] == '\0' ? static_cast<QWidget *>(this) : m_controls.at(c.parent);
    const QString caption = QString::fromLatin1(c.caption);
    QWidget *w = nullptr;
    switch (c.kind) {
    case ControlKind::Frame: {
      auto *panel = new QFrame(parent);
      panel->setFrameStyle(QFrame::Box | QFrame::Plain);
      PaintBackground(panel, kDesignFace);
      panel->setFocusPolicy(Qt::NoFocus);
      SetAccessibleRole(*panel, AccessibleRole::Panel);
      w = panel;
      break;
    }
    case ControlKind::Picture: { // the banner
      auto *banner = new QLabel(parent);
      banner->setPixmap(BannerArt());
      banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      PaintBackground(banner, Qt::white);
      w = banner;
      break;
    }
    case ControlKind::Image: {
      auto *image = new QLabel(parent);
      image->setPixmap(std::string(c.name) == "Image3" ? StripArt() : ProgramIconPixmap(64));
      w = image;
      break;
    }
    case ControlKind::Label:
    case ControlKind::ValueBox: {
      auto *l = new QLabel(caption, parent);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      w = l;
      break;
    }
    case ControlKind::Link: {
      auto *link = new LinkLabel(caption, parent);
      link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      QPalette p = link->palette();
      p.setColor(QPalette::WindowText, kLink);
      link->setPalette(p);
      const std::string name = c.name;
      connect(link, &LinkLabel::activated, link,
              [this, name] { name == "lblEMail" ? lblEMail_Click() : lblHomePage_Click(); });
      w = link;
      break;
    }
    case ControlKind::Button: {
      auto *b = new QPushButton(caption, parent);
      PaintBackground(b, kDesignFace);
      w = b;
      break;
    }
    case ControlKind::Rule:
      continue; // drawn by the window: decoration, not a control (see paintEvent)
    case ControlKind::TextBox: {
      auto *terms = new QPlainTextEdit(QString::fromLatin1(kTermsText), parent);
      terms->setReadOnly(true);
      terms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      terms->setVisible(false); // below the client area, never seen: no Tab stop, nothing to review
      w = terms;
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::DropDownEdit:
    case ControlKind::CheckBox:
      continue; // not in this window
    }
    QFont font = DesignFont(c.font);
    font.setUnderline(c.kind == ControlKind::Link);
    w->setFont(font);
    if (c.tip[0] != '\0') {
      w->setToolTip(QString::fromLatin1(c.tip));
    }
    if (const auto it = accessible.find(c.name); it != accessible.end()) {
      w->setAccessibleName(it->second);
    }
    w->setObjectName(c.name);
    m_controls[c.name] = w;
  }
  for (const auto &c : AboutLayout()) {
    if (c.rightAligned) {
      Label(c.name)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
  }
  QLabel *copyright = Label("lblCopyright");
  QPalette grey = copyright->palette();
  grey.setColor(QPalette::WindowText, QColor(64, 64, 64));
  copyright->setPalette(grey);
  static_cast<QPushButton *>(m_controls.at("cmdok"))->setDefault(true); // answers Enter; Escape closes too

  for (const auto &c : AboutLayout()) {
    if (c.kind == ControlKind::Rule) {
      continue;
    }
    QWidget *w = m_controls.at(c.name);
    w->setGeometry(PixelRect(c.left, c.top, c.width, c.height));
    if (c.sizedToText) {
      w->adjustSize();
    }
  }
  // Every label shows its text as characters: the owner and organisation and settings are
  // data, and QLabel would otherwise guess markup and load what it names.
  for (QLabel *l : findChildren<QLabel *>()) {
    l->setTextFormat(Qt::PlainText);
  }
  // The captions label the values: a screen reader says "Registered name:" with the owner.
  Label("Label4_0")->setBuddy(m_controls.at("lblregname"));
  Label("Label4_1")->setBuddy(m_controls.at("lblregcompany"));
  const auto &order = AboutTabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    setTabOrder(m_controls.at(order[i]), m_controls.at(order[i + 1]));
  }

  // Connected in the sender's own context: a receiver elsewhere would show
  // as a meaningless "controller for" relation to assistive technology.
  auto *ok = static_cast<QPushButton *>(m_controls.at("cmdok"));
  connect(ok, &QPushButton::clicked, ok, [this] { cmdok_Click(); });
  auto *sysInfo = static_cast<QPushButton *>(m_controls.at("cmdSysInfo"));
  connect(sysInfo, &QPushButton::clicked, sysInfo, [this] { cmdSysInfo_Click(); });
}

void frmAbout::paintEvent(QPaintEvent *event) {
  QDialog::paintEvent(event);
  // The rules, etched as a sunken QFrame line draws them.
  QPainter painter(this);
  for (const auto &c : AboutLayout()) {
    if (c.kind == ControlKind::Rule) {
      QStyleOptionFrame rule;
      rule.initFrom(this);
      rule.rect = PixelRect(c.left, c.top, c.width, c.height);
      rule.frameShape = QFrame::HLine;
      rule.state |= QStyle::State_Sunken;
      rule.lineWidth = 1;
      rule.midLineWidth = 0;
      style()->drawControl(QStyle::CE_ShapedFrame, &rule, &painter, this);
    }
  }
}

void frmAbout::Caption(const std::string &text) { setWindowTitle(QString::fromStdString(text)); }

void frmAbout::Text(const char *label, const std::string &text) {
  QLabel *l = Label(label);
  l->setText(QString::fromStdString(text));
  if (std::string(label) != "lblTitle") {
    l->adjustSize(); // at its design place, sized to its text
  }
  // A screen reader announces the window with its free-standing labels, not
  // with values their captions label: the line that introduces the owner and
  // the company names them.
  if (std::string(label) == "lblregname" || std::string(label) == "lblregcompany") {
    QLabel *intro = Label("Label1");
    intro->setAccessibleName(intro->text() + " " + Label("lblregname")->text() + ", " +
                             Label("lblregcompany")->text());
  }
}

std::string frmAbout::Text(const char *label) const { return Label(label)->text().toStdString(); }

std::string frmAbout::Tip(const char *control) const {
  return m_controls.at(control)->toolTip().toStdString();
}

std::uintptr_t frmAbout::NativeHandle() const { return const_cast<frmAbout *>(this)->winId(); }

void frmAbout::ShowModal(Services services) {
  frmAbout dialog(std::move(services));
  dialog.Form_Load();
  dialog.exec();
}

} // namespace tallyflow
