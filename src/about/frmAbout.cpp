#include "frmAbout.h"

#include "DesignPalette.h"
#include "LinkCursor.h"
#include "ProgramIcon.h"
#include "Twips.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

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
  const QFont verdana = DesignFont("Verdana", 8.25);

  auto *picture1 = new QFrame(this);
  picture1->setFrameStyle(QFrame::Box | QFrame::Plain);
  PaintBackground(picture1, kDesignFace);
  auto *picture3 = new QLabel(this);
  picture3->setPixmap(BannerArt());
  picture3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PaintBackground(picture3, Qt::white);
  m_controls = {{"Picture1", picture1}, {"Picture3", picture3}};

  auto label = [&](const char *name, QWidget *parent, const char *text, const QFont &font) {
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->setFont(font);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_controls[name] = l;
    return l;
  };
  auto *image2 = new QLabel(picture1);
  image2->setPixmap(ProgramIconPixmap(64));
  m_controls["Image2"] = image2;
  label("Label4_0", picture1, "Registered name:", verdana);
  label("Label4_1", picture1, "Company name:", verdana);
  label("lblregname", picture1, kUnregisteredName, verdana)->setAccessibleName("Registered name");
  label("lblregcompany", picture1, kUnregisteredCompany, verdana)->setAccessibleName("Company name");

  auto *image3 = new QLabel(picture3);
  image3->setPixmap(StripArt());
  m_controls["Image3"] = image3;
  QLabel *title = label("lblTitle", picture3, "", DesignFont("Arial", 9.75, true));
  title->setAlignment(Qt::AlignRight | Qt::AlignTop);
  title->setAccessibleName("Title and version");

  auto *ok = new QPushButton("&OK", this);
  auto *sysInfo = new QPushButton("&System Info...", this);
  for (QPushButton *b : {ok, sysInfo}) {
    PaintBackground(b, kDesignFace);
  }
  ok->setDefault(true); // answers Enter; Escape closes the dialog too
  m_controls["cmdok"] = ok;
  m_controls["cmdSysInfo"] = sysInfo;

  for (const char *name : {"Frame1", "Frame2"}) {
    auto *line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_controls[name] = line;
  }

  auto *terms = new QPlainTextEdit(QString::fromLatin1(kTermsText), this);
  terms->setReadOnly(true);
  terms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  terms->setFont(DesignFont("MS Sans Serif", 8.25, true));
  terms->setAccessibleName("Terms of use");
  m_controls["Text1"] = terms;

  QFont linkFont = DesignFont("MS Sans Serif", 8.25, true);
  linkFont.setUnderline(true);
  const struct {
    const char *name, *text, *tip, *accessible;
  } links[] = {{"lblEMail", "Email me", kSupportAddress, "E-mail the maker"},
               {"lblHomePage", "WebSite", kHomePage, "The maker's home page"}};
  for (const auto &l : links) {
    QLabel *link = label(l.name, this, l.text, linkFont);
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, kLink);
    link->setPalette(p);
    link->setCursor(LinkCursor());
    link->setToolTip(QString::fromLatin1(l.tip));
    link->setAccessibleName(l.accessible);
    link->installEventFilter(this);
  }
  label("Label1", this, "This software is registered to:", font());
  QLabel *copyright = label("lblCopyright", this, "", verdana);
  copyright->setAlignment(Qt::AlignRight | Qt::AlignTop);
  QPalette grey = copyright->palette();
  grey.setColor(QPalette::WindowText, QColor(64, 64, 64));
  copyright->setPalette(grey);
  copyright->setAccessibleName("Copyright");

  for (const auto &c : AboutLayout()) {
    QWidget *w = m_controls.at(c.name);
    w->setObjectName(c.name);
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
  // Keyboard order by the design's tab indexes.
  setTabOrder(terms, sysInfo);
  setTabOrder(sysInfo, ok);
  picture1->setFocusPolicy(Qt::NoFocus);

  connect(ok, &QPushButton::clicked, this, [this] { cmdok_Click(); });
  connect(sysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
    if (watched == m_controls["lblEMail"]) {
      lblEMail_Click();
      return true;
    }
    if (watched == m_controls["lblHomePage"]) {
      lblHomePage_Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmAbout::Caption(const std::string &text) { setWindowTitle(QString::fromStdString(text)); }

void frmAbout::Text(const char *label, const std::string &text) {
  QLabel *l = Label(label);
  l->setText(QString::fromStdString(text));
  if (std::string(label) != "lblTitle") {
    l->adjustSize(); // at its design place, sized to its text
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
