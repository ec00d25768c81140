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

using C = AboutControl;

// The banner: a white strip with a soft teal band and the program's mark.
QPixmap BannerArt() {
  QPixmap art(464, 53);
  art.fill(ToQColor(kBoxColour));
  QPainter p(&art);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient band(0, 0, 464, 0);
  QColor teal = ToQColor(kTealColour);
  teal.setAlpha(60);
  band.setColorAt(0, teal);
  teal.setAlpha(0);
  band.setColorAt(1, teal);
  p.fillRect(QRect(0, 40, 464, 13), band);
  p.drawPixmap(8, 4, ProgramIconPixmap(40));
  QFont font = DesignFont("Arial", 14, true);
  p.setFont(font);
  p.setPen(ToQColor(kBannerTextColour));
  p.drawText(QRect(56, 4, 100, 36), Qt::AlignVCenter | Qt::AlignLeft, "Tallyflow");
  return art;
}

// A small strip for the banner's right: the words of what the program does.
QPixmap StripArt() {
  QPixmap art(167, 30);
  art.fill(ToQColor(kBoxColour));
  QPainter p(&art);
  p.setFont(DesignFont("Arial", 8.25));
  const ControlLook &look = EntryOf(AboutLayout(), +C::Image3).look;
  p.setPen(ToQColor(look.text));
  p.drawText(art.rect(), Qt::AlignRight | Qt::AlignVCenter, look.accessibleName);
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

QLabel *frmAbout::Label(AboutControl label) const { return qobject_cast<QLabel *>(m_controls.at(+label)); }

void frmAbout::BuildControls() {
  InstallFontSubstitutes();
  setFont(DesignFont("MS Sans Serif", 8.25));
  for (const ControlLayout &c : AboutLayout()) {
    QWidget *parent = c.parent == +C::Form ? static_cast<QWidget *>(this) : m_controls.at(c.parent);
    const QString caption = QString::fromLatin1(c.caption);
    QWidget *w = nullptr;
    switch (c.kind) {
    case ControlKind::Frame: {
      auto *panel = new QFrame(parent);
      panel->setFrameStyle(QFrame::Box |
                           (c.look.frame == FrameStyle::Etched ? QFrame::Sunken : QFrame::Plain));
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
      PaintBackground(banner, ToQColor(kBoxColour));
      w = banner;
      break;
    }
    case ControlKind::Image: {
      auto *image = new QLabel(parent);
      image->setPixmap(c.id == +C::Image3 ? StripArt() : ProgramIconPixmap(64));
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
      const auto id = static_cast<C>(c.id);
      connect(link, &LinkLabel::activated, link, [this, id] { m_form.Click(id); });
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
    // Names for accessibility tools where a control shows no text. The
    // labels are read by their text: a name would replace it.
    if (c.look.accessibleName[0] != '\0') {
      w->setAccessibleName(c.look.accessibleName);
    }
    PaintText(w, c.look.text);
    w->setObjectName(c.name);
    m_controls[c.id] = w;
  }
  for (const auto &c : AboutLayout()) {
    if (c.look.align == TextAlign::Right) {
      Label(static_cast<C>(c.id))->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
  }
  static_cast<QPushButton *>(m_controls.at(+C::cmdok))->setDefault(true); // answers Enter; Escape closes too

  for (const auto &c : AboutLayout()) {
    if (c.kind == ControlKind::Rule) {
      continue;
    }
    QWidget *w = m_controls.at(c.id);
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
  for (const auto &c : AboutLayout()) {
    if (c.look.labels != 0) {
      Label(static_cast<C>(c.id))->setBuddy(m_controls.at(c.look.labels));
    }
  }
  const std::vector<int> &order = AboutTabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    setTabOrder(m_controls.at(order[i]), m_controls.at(order[i + 1]));
  }

  // Connected in the sender's own context: a receiver elsewhere would show
  // as a meaningless "controller for" relation to assistive technology.
  for (C id : {C::cmdok, C::cmdSysInfo}) {
    auto *b = static_cast<QPushButton *>(m_controls.at(+id));
    connect(b, &QPushButton::clicked, b, [this, id] { m_form.Click(id); });
  }
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

void frmAbout::Text(AboutControl label, const std::string &text) {
  QLabel *l = Label(label);
  l->setText(QString::fromStdString(text));
  if (label != C::lblTitle) {
    l->adjustSize(); // at its design place, sized to its text
  }
  // A screen reader announces the window with its free-standing labels, not
  // with values their captions label: the line that introduces the owner and
  // the company names them.
  if (label == C::lblregname || label == C::lblregcompany) {
    QLabel *intro = Label(C::Label1);
    intro->setAccessibleName(intro->text() + " " + Label(C::lblregname)->text() + ", " +
                             Label(C::lblregcompany)->text());
  }
}

std::string frmAbout::Text(AboutControl label) const { return Label(label)->text().toStdString(); }

std::string frmAbout::Tip(AboutControl control) const {
  return m_controls.at(+control)->toolTip().toStdString();
}

std::uintptr_t frmAbout::NativeHandle() const { return const_cast<frmAbout *>(this)->winId(); }

void frmAbout::ShowModal(Services services) {
  frmAbout dialog(std::move(services));
  dialog.Form_Load();
  dialog.exec();
}

} // namespace tallyflow
