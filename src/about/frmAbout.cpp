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

constexpr int kClientWidth = 6870;  // twips
constexpr int kClientHeight = 3855; // twips
const QColor kLink(0, 0, 192);

const char *const kTerms =
    "TERMS OF USE\r\n"
    "Tallyflow Manager is provided to you free of charge for personal and commercial use. You may install it "
    "on "
    "as many computers as you like.\r\n\r\n"
    "NO WARRANTY\r\n"
    "The software is provided \"as is\", without warranty of any kind, express or implied, including but not "
    "limited to the warranties of merchantability, fitness for a particular purpose and non-infringement. In "
    "no "
    "event shall the authors or copyright holders be liable for any claim, damages or other liability, "
    "whether "
    "in an action of contract, tort or otherwise, arising from, out of or in connection with the software or "
    "the use or other dealings in the software.\r\n\r\n"
    "DISTRIBUTION\r\n"
    "You may copy and distribute the unmodified installation package, provided that no fee is charged for it "
    "beyond the cost of the medium and that this notice and the copyright notice stay with it. You may not "
    "sell "
    "the software, rent it, or pass it off as your own work.\r\n";

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

const std::vector<ControlLayout> &AboutLayout() {
  static const std::vector<ControlLayout> layout = {
      {"Picture1", "", 240, 1200, 6375, 1215, false},
      {"Image2", "Picture1", 5280, 50, 960, 960, false},
      {"Label4_0", "Picture1", 90, 120, 1530, 195, true},
      {"Label4_1", "Picture1", 90, 420, 1440, 195, true},
      {"lblregname", "Picture1", 1785, 120, 1650, 195, true},
      {"lblregcompany", "Picture1", 1785, 420, 1980, 195, true},
      {"cmdok", "", 5520, 2880, 1155, 400, false},
      {"Frame2", "", 0, 3480, 6855, 40, false},
      {"Picture3", "", 0, 0, 6870, 780, false},
      {"Image3", "Picture3", 4200, 330, 2505, 450, false},
      {"lblTitle", "Picture3", 2280, 90, 4335, 240, false},
      {"cmdSysInfo", "", 4200, 2880, 1245, 400, false},
      {"Text1", "", 120, 4680, 6975, 1455, false},
      {"Frame1", "", 0, 2640, 6855, 40, false},
      {"lblEMail", "", 3240, 2940, 765, 195, true},
      {"lblHomePage", "", 2280, 2940, 735, 195, true},
      {"Label1", "", 240, 960, 2055, 195, true},
      {"lblCopyright", "", 3420, 3600, 3315, 195, true},
  };
  return layout;
}

frmAbout::frmAbout(Services services) : QDialog(nullptr), m_services(std::move(services)) {
  setObjectName("frmAbout");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon()); // no icon of its own
  setModal(true);
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
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

  auto *terms = new QPlainTextEdit(QString::fromLatin1(kTerms), this);
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
    w->setGeometry(TwipsRect(c.left, c.top, c.width, c.height));
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

void frmAbout::Form_Load() {
  const AboutTexts texts = LoadAbout(m_services.version, *m_services.facts);
  setWindowTitle(QString::fromStdString(texts.caption));
  auto set = [this](const char *name, const std::string &text) {
    QLabel *l = Label(name);
    l->setText(QString::fromStdString(text));
    if (name != std::string("lblTitle")) {
      l->adjustSize();
    }
  };
  set("lblTitle", texts.title);
  set("lblCopyright", texts.copyright); // at its design place, sized to its text
  set("lblregname", texts.owner);
  set("lblregcompany", texts.organisation);
}

void frmAbout::cmdok_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() {
  StartSysInfo(*m_services.facts, *m_services.starter, *m_services.messages);
}

void frmAbout::lblEMail_Click() {
  m_services.shell->Open(EmailTarget(Label("lblTitle")->text().toStdString()), winId());
}

void frmAbout::lblHomePage_Click() {
  m_services.shell->Open(Label("lblHomePage")->toolTip().toStdString(), winId());
}

void frmAbout::ShowModal(Services services) {
  frmAbout dialog(std::move(services));
  dialog.Form_Load();
  dialog.exec();
}

} // namespace tallyflow
