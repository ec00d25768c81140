// The About window offscreen, alone and opened from the monitor window.

#include "ui/qt/frmAbout.h"

#include "services/BuildInfo.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeIfTable.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeServices.h"
#include "fakes/MibTableBuilder.h"
#include "ui/qt/frmTallyflow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace tallyflow {
namespace {

struct FakeFacts final : ISystemFacts {
  std::optional<std::string> RegisteredOwner() override { return owner; }
  std::optional<std::string> RegisteredOrganization() override { return organisation; }
  std::optional<ProgramCall> SystemInfoTool() override { return tool; }
  std::optional<std::string> owner = std::string("Ada Lovelace");
  std::optional<std::string> organisation = std::string("");
  std::optional<ProgramCall> tool;
};

struct AboutHarness {
  AboutHarness() {
    version.fileDescription = "Tallyflow Manager";
    version.major = 3;
    version.revision = 264;
    version.legalCopyright = build::kLegalCopyright; // the program's own, which must fit
  }
  frmAbout::Services Services() { return {version, &facts, &starter, &messages, &shell}; }
  VersionInfo version;
  FakeFacts facts;
  test::FakeStarter starter;
  test::FakeMessages messages;
  test::FakeShell shell;
};

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2)); }

TEST(frmAbout, OwnerAndOrganisationAreShownAsTheirCharacters) {
  AboutHarness h;
  h.facts.owner = "<h1><font color=red>BIG RED</font></h1>";
  h.facts.organisation = "<img src=\"/dev/zero\">"; // read as an image, it would eat all memory
  frmAbout dialog(h.Services());
  dialog.Form_Load();
  dialog.grab();
  EXPECT_EQ(dialog.Label(AboutControl::lblregname)->text().toStdString(), *h.facts.owner);
  EXPECT_EQ(dialog.Label(AboutControl::lblregcompany)->text().toStdString(), *h.facts.organisation);
  for (const auto *label : dialog.findChildren<QLabel *>()) {
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
  }
}

TEST(frmAbout, LoadsItsTextsAndLaysOutByTheTable) {
  AboutHarness h;
  frmAbout dialog(h.Services());
  dialog.Form_Load();
  EXPECT_EQ(dialog.windowTitle(), "About ");
  EXPECT_EQ(dialog.Label(AboutControl::lblTitle)->text(), "Tallyflow Manager v3.264");
  EXPECT_EQ(dialog.Label(AboutControl::lblCopyright)->text(), "Copyright \u00a9 2026 Quorrin Software");
  EXPECT_EQ(dialog.Label(AboutControl::lblregname)->text(), "Ada Lovelace");
  EXPECT_EQ(dialog.Label(AboutControl::lblregcompany)->text(), "Unregistered Company");
  EXPECT_EQ(dialog.size(), QSize(458, 257)) << "6870 x 3855 twips";
  EXPECT_TRUE(dialog.isModal());
  EXPECT_EQ(dialog.parentWidget(), nullptr) << "no owner window";
  for (const auto &c : AboutLayout()) {
    QWidget *w = dialog.findChild<QWidget *>(c.name);
    if (c.kind == ControlKind::Rule) {
      EXPECT_EQ(w, nullptr) << c.name << ": drawn by the window, no control";
      continue;
    }
    ASSERT_NE(w, nullptr) << c.name;
    const QRect expected(qRound(c.left / 15.0), qRound(c.top / 15.0), qRound(c.width / 15.0),
                         qRound(c.height / 15.0));
    if (c.sizedToText) {
      EXPECT_EQ(w->pos(), expected.topLeft()) << c.name;
    } else {
      EXPECT_EQ(w->geometry(), expected) << c.name;
    }
  }
  EXPECT_GE(dialog.findChild<QWidget *>("Text1")->y(), dialog.height()) << "below the visible client area";
  const QRect copyright = dialog.Label(AboutControl::lblCopyright)->geometry();
  EXPECT_TRUE(dialog.rect().contains(copyright)) << "one line, inside the window";
  for (AboutControl link : {AboutControl::lblEMail, AboutControl::lblHomePage}) {
    const QCursor hand = dialog.Label(link)->cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor) << +link << ": our own hand, not the system's";
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32)) << +link;
    EXPECT_EQ(hand.hotSpot(), QPoint(5, 0)) << +link;
  }
  EXPECT_EQ(dialog.Label(AboutControl::lblEMail)->toolTip(), "support@example.com");
  EXPECT_EQ(dialog.Label(AboutControl::lblHomePage)->toolTip(), "https://www.example.com/tallyflow");

  // By mouse, and by keyboard as a Tab stop: Enter on one, Space on the other.
  Click(dialog.Label(AboutControl::lblEMail));
  Click(dialog.Label(AboutControl::lblHomePage));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.findChild<QWidget *>("cmdok")->setFocus();
  QTest::keyClick(&dialog, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), dialog.Label(AboutControl::lblHomePage));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(&dialog, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), dialog.Label(AboutControl::lblEMail));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  const std::string mail = "mailto:support@example.com?subject=I have question on Tallyflow Manager v3.264";
  const std::string site = "https://www.example.com/tallyflow";
  EXPECT_EQ(h.shell.opened, (std::vector<std::string>{mail, site, site, mail}));
  EXPECT_EQ(h.shell.owners, std::vector<std::uintptr_t>(4, dialog.winId()))
      << "the About window owns the call";

  dialog.findChild<QPushButton *>("cmdSysInfo")->click();
  EXPECT_EQ(h.messages.shown, std::vector<std::string>{kSysInfoUnavailable}) << "no tool: the one message";
  h.facts.tool = ProgramCall{"/usr/bin/hardinfo", {}};
  dialog.findChild<QPushButton *>("cmdSysInfo")->click();
  EXPECT_EQ(h.starter.started, std::vector<std::string>{"/usr/bin/hardinfo"});

  const QTemporaryDir own; // the test's, gone with it
  EXPECT_TRUE(dialog.grab().save(own.filePath("about.png")));
  dialog.findChild<QPushButton *>("cmdok")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(frmAbout, OpenedFromTheMonitorWhileItsTickKeepsRunning) {
  test::FakeRegistry reg;
  RegistrySettingsStore settings(reg);
  test::FakeClock clock;
  auto table = std::make_shared<test::FakeIfTable>();
  test::MibRow row;
  row.index = 1;
  table->Push(test::BuildMibTable({row}));
  AboutHarness h;

  frmTallyflow::Services s;
  s.ifTable = table;
  s.registry = &reg;
  s.settings = &settings;
  s.clock = &clock;
  s.facts.title = "Tallyflow Manager";
  s.facts.exeName = "Tallyflow";
  s.endProgram = [] {};
  int opened = 0;
  std::string titleWhenOpened, titleLater;
  s.showAbout = [&] {
    ++opened;
    frmAbout::Services services = h.Services();
    frmAbout dialog(services);
    dialog.Form_Load();
    QTimer::singleShot(0, [&] { titleWhenOpened = QApplication::topLevelWidgets().isEmpty() ? "" : "x"; });
    QTimer::singleShot(700, &dialog, [&] {
      titleLater = "seen";
      dialog.findChild<QPushButton *>("cmdok")->click();
    });
    dialog.exec();
  };
  frmTallyflow monitor(std::move(s));
  monitor.Form_Load();
  EXPECT_EQ(monitor.windowTitle(), "Tallyflow Monitor");
  monitor.findChild<QPushButton *>("btnAbout")->click();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(titleLater, "seen");
  EXPECT_NE(monitor.windowTitle(), "Tallyflow Monitor") << "the monitor ticked while the dialog was open";
}

} // namespace
} // namespace tallyflow
