// The real monitor window, offscreen, with fakes for the interface table and
// the registry.

#include "ui/qt/frmTallyflow.h"

#include "fakes/MonitorFakes.h"
#include "ui/qt/QtDrawingSurface.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace tallyflow {
namespace {

constexpr auto HKCU = Hive::CurrentUser;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kKey = "Software\\Quorrin Software\\Tallyflow\\Main";

struct Harness : test::MonitorFakes {
  explicit Harness(const std::string &exeName = "Tallyflow") : MonitorFakes(exeName) {}
  static test::MibRow Row(std::uint32_t index, const std::string &descr) {
    return test::NamedRow(index, descr);
  }
  frmTallyflow &Load() {
    window = std::make_unique<frmTallyflow>(Services());
    window->Form_Load();
    return *window;
  }
  template <typename T> T *Control(const char *name) const { return window->findChild<T *>(name); }
  QPoint Centred() const {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window->frameGeometry().size(); // the frame is what is centred
    return QPoint(screen.width() / 2 - outer.width() / 2, screen.height() / 2 - outer.height() / 2);
  }

  std::unique_ptr<frmTallyflow> window;
};

TEST(frmTallyflow, FirstRunOpensCentredOnThePrimaryScreenAsOnlyTheWindowsLogicSays) {
  Harness h;
  auto &w = h.Load();
  EXPECT_LE((w.pos() - h.Centred()).manhattanLength(), 2);
  EXPECT_EQ(h.Control<QComboBox>("cboUpdateInterval")->currentText(), "200");
  EXPECT_FALSE(w.isMinimized());
  EXPECT_EQ(w.windowTitle(), "Tallyflow Monitor");
  h.Control<QCheckBox>("chkStartUp")->click(); // a real click reaches the logic
  EXPECT_EQ(GetRegValue(h.reg, HKLM, kRunKey, "Tallyflow"), "/opt/tallyflow/Tallyflow");
  h.Control<QPushButton>("btnExit")->click();
  EXPECT_EQ(h.ended, 1);
  EXPECT_EQ(h.Stored("Left"), std::to_string(w.pos().x() * 15));
}

// Also run on Wayland (weston), which gives a client no say over its place
// and reports positions that mean nothing: there the stored ones stay.
TEST(frmTallyflow, ClosingSavesTheRealPositionOrKeepsTheStoredOne) {
  Harness h;
  SetRegValue(h.reg, HKCU, kKey, "Left", "3000");
  SetRegValue(h.reg, HKCU, kKey, "Top", "1500");
  auto &w = h.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QPoint at = w.pos();
  w.close();
  if (QGuiApplication::platformName().startsWith("wayland")) {
    EXPECT_EQ(h.Stored("Left") + "," + h.Stored("Top"), "3000,1500") << "not " << at.x() << "," << at.y();
  } else {
    EXPECT_EQ(h.Stored("Left") + "," + h.Stored("Top"),
              std::to_string(at.x() * 15) + "," + std::to_string(at.y() * 15));
  }
  EXPECT_EQ(h.Stored("UpdateInterval"), "200");
}

TEST(frmTallyflow, OutsideTextIsShownAsItsCharacters) {
  // Aliases that look like markup; one names a FIFO, which would block the
  // window for good if the text were ever read as an image source.
  QTemporaryDir dir;
  const std::string fifo = dir.path().toStdString() + "/f";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string aliases[] = {"<img src=\"" + fifo + "\">", "<h1><font color=red>BIG RED</font></h1>",
                                 "Office &lt; LAN"};
  for (const auto &alias : aliases) {
    Harness h;
    h.table = std::make_shared<test::FakeIfTable>();
    h.table->Push(test::BuildMibTable({Harness::Row(1, alias)}));
    auto &w = h.Load();
    auto *type = h.Control<QLabel>("lblType");
    ASSERT_TRUE(QTest::qWaitFor([&] { return type->text() != "TokenRing "; }, 3000)) << alias;
    EXPECT_EQ(type->text().toStdString(), alias + " ");
    EXPECT_EQ(h.Control<QComboBox>("cboConnectionType")->itemText(0).toStdString(), alias + " ");
    for (const auto *label : w.findChildren<QLabel *>()) {
      EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
    w.grab(); // painted without opening anything
  }
}

// Aliases that would turn our text round, break the list's lines or pile
// marks over other rows: isolated where they set a direction, with their
// controls visible, each row of the open list drawn inside itself and the
// list on the screen.
TEST(frmTallyflow, OutsideTextKeepsToItsOwnPlace) {
  const std::string FSI = "\xE2\x81\xA8", PDI = "\xE2\x81\xA9", RLO = "\xE2\x80\xAE";
  std::string marks = "a";
  for (int i = 0; i < 50; ++i) {
    marks += "\xCC\x81"; // COMBINING ACUTE ACCENT
  }
  const struct {
    std::string alias, shown;
  } cases[] = {
      {RLO + "evil.exe gnp.", FSI + "\xEF\xBF\xBD" + "evil.exe gnp." + PDI},
      {"two\nlines", "two\xE2\x90\x8Alines"},
      {marks, marks},
      {std::string(255, 'w'), std::string(255, 'w')},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.alias.substr(0, 16));
    Harness h;
    h.table = std::make_shared<test::FakeIfTable>();
    h.table->Push(
        test::BuildMibTable({Harness::Row(1, "above"), Harness::Row(2, "middle"), Harness::Row(3, c.alias)}));
    auto &w = h.Load();
    auto *list = h.Control<QComboBox>("cboConnectionType");
    EXPECT_EQ(list->itemText(2).toStdString(), c.shown + " ");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // from the first entry to the alias
    QTest::keyClick(list, Qt::Key_Down);
    auto *type = h.Control<QLabel>("lblType");
    ASSERT_TRUE(QTest::qWaitFor([&] { return type->text().toStdString() == c.shown + " "; }, 3000));

    // The rows above the alias look as they do above a plain entry.
    list->showPopup();
    QWidget *popup = list->view()->window();
    EXPECT_LE(popup->width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    const QRect above = list->view()->visualRect(list->model()->index(0, 0)) |
                        list->view()->visualRect(list->model()->index(1, 0));
    const QImage withAlias = list->view()->viewport()->grab(above).toImage();
    list->hidePopup();
    list->setItemText(2, "plain ");
    list->showPopup();
    const QImage withPlain = list->view()->viewport()->grab(above).toImage();
    list->hidePopup();
    EXPECT_TRUE(withAlias == withPlain) << "nothing drawn into the rows above";
    w.close();
  }
}

TEST(frmTallyflow, TypedIntervalIsUsedByTheNextTickAndSavedAsTyped) {
  // Each is the start of a listed interval, which a completer would finish.
  for (const char *typed : {"150", "50", "2"}) {
    Harness h;
    auto &w = h.Load();
    QLineEdit *edit = h.Control<QComboBox>("cboUpdateInterval")->lineEdit();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(edit, Qt::LeftButton); // focus, as a person gives it
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.tmrUpdate().Interval() == std::stoi(typed); }, 3000)) << typed;
    EXPECT_NE(w.windowTitle(), "Tallyflow Monitor") << "the tick set the title";
    EXPECT_NE(h.Control<QLabel>("lblRecv")->text(), "Label1");
    w.close();
    EXPECT_EQ(h.Stored("UpdateInterval"), typed);
  }
}

TEST(frmTallyflow, GraphShowsTheFaceColourUntilTheFirstTick) {
  Harness h;
  SetRegValue(h.reg, HKCU, kKey, "UpdateInterval", "5000");
  auto &w = h.Load();
  EXPECT_EQ(w.Surface()->grab().toImage().pixelColor(100, 50), QColor(236, 233, 216));
  w.close();
}

TEST(frmTallyflow, LayoutFollowsTheTableAtFifteenTwipsPerPixel) {
  Harness h;
  auto &w = h.Load();
  EXPECT_EQ(w.size(), QSize(379, 361)) << "5685 x 5415 twips";
  EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "fixed size";
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  // Pixels from the design's twips, written out: a wrong table entry fails.
  const struct {
    const char *name, *parent;
    QRect geometry; // for a control sized to its text, only the place counts
    bool sizedToText;
  } expected[] = {
      {"PIC1", "", {0, 0, 379, 117}, false},            // 0, 0, 5685 x 1750
      {"Frame2", "", {0, 114, 380, 136}, false},        // 0, 1710, 5700 x 2040
      {"Frame3", "", {0, 244, 380, 118}, false},        // 0, 3660, 5700 x 1770
      {"lblRecv", "Frame3", {101, 15, 110, 20}, false}, // 1515, 225, 1650 x 300
      {"Label2", "Frame3", {8, 19, 0, 0}, true},        // 120, 280
      {"cboUpdateInterval", "Frame3", {304, 16, 65, 21}, false},
      {"btnExit", "Frame3", {304, 80, 65, 25}, false}, // 4560, 1200, 975 x 375
  };
  for (const auto &c : expected) {
    QWidget *control = w.findChild<QWidget *>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    if (c.sizedToText) { // where its text is drawn
      EXPECT_EQ(control->pos() + control->contentsRect().topLeft(), c.geometry.topLeft()) << c.name;
    } else {
      EXPECT_EQ(control->geometry(), c.geometry) << c.name;
    }
    const QString parent = control->parentWidget() == &w ? "" : control->parentWidget()->objectName();
    EXPECT_EQ(parent, c.parent) << c.name;
  }
  EXPECT_EQ(w.Surface()->ScaleWidth(), 379 * 15.0f);
  const char *order[] = {"cboConnectionType", "cboUpdateInterval", "chkStartUp", "btnAbout", "btnExit"};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    QWidget *from = w.findChild<QWidget *>(order[i]);
    QWidget *next = from->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus || next->focusProxy() != nullptr || !next->isEnabled() ||
           next->parentWidget() == nullptr || next->objectName().isEmpty()) {
      next = next->nextInFocusChain();
    }
    EXPECT_EQ(next->objectName().toStdString(), order[i + 1]) << "after " << order[i];
  }
}

TEST(frmTallyflow, FiguresReachAccessibilityToolsAsTheyMove) {
  Harness h;
  h.table = std::make_shared<test::FakeIfTable>();
  for (std::uint32_t i = 0; i < 50; ++i) { // a new rate on every tick
    auto row = Harness::Row(1, "Ethernet (eth0)");
    row.inOctets = 1'000'000 + i * i * 4'000;
    h.table->Push(test::BuildMibTable({row}));
  }
  SetRegValue(h.reg, HKCU, kKey, "UpdateInterval", "20");
  auto &w = h.Load();
  auto name = [](QWidget *widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).trimmed();
  };
  auto *speed = h.Control<QLabel>("lblDSpeed");
  QString seen = speed->text();
  for (int change = 0; change < 2; ++change) {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          h.clock.Advance(std::chrono::milliseconds(20)); // time passes as the ticks come
          return speed->text() != seen;
        },
        3000));
    seen = speed->text();
    EXPECT_EQ(name(speed), seen.trimmed()) << "the figure itself, not a fixed name";
  }
  EXPECT_EQ(name(h.Control<QCheckBox>("chkStartUp")), "Startup") << "named by its visible text";
  // The captions beside a figure or a list label it (on Linux a combo box's
  // name is its current entry; its caption comes as this relation).
  const struct {
    const char *control, *caption;
  } labelled[] = {{"lblDSpeed", "Download speed"},
                  {"lblRecv", "Received bytes"},
                  {"cboUpdateInterval", "Update Interval"},
                  {"cboConnectionType", "Connection type :"}};
  for (const auto &l : labelled) {
    const auto captions = QAccessible::queryAccessibleInterface(w.findChild<QWidget *>(l.control))
                              ->relations(QAccessible::Label);
    ASSERT_EQ(captions.size(), 1) << l.control;
    EXPECT_EQ(captions.front().first->text(QAccessible::Name).trimmed(), l.caption) << l.control;
  }
}

TEST(frmTallyflow, DesignColoursUnderADarkSchemeAndEnterPressesTheFocusedButton) {
  const QPalette before = QApplication::palette();
  QPalette dark(QColor(53, 53, 53), QColor(42, 42, 42)); // a dark scheme: light text on dark grey
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  QApplication::setPalette(dark);
  Harness h;
  auto &w = h.Load();
  const QImage box = h.Control<QLabel>("lblRecv")->grab().toImage();
  QApplication::setPalette(before);
  int ink = 0; // dark text pixels inside the white box's border
  for (int y = 2; y < box.height() - 2; ++y) {
    for (int x = 2; x < box.width() - 2; ++x) {
      ink += box.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 20) << "the figure is readable: dark on white";
  EXPECT_EQ(box.pixelColor(box.width() / 2, 2), QColor(Qt::white));

  EXPECT_TRUE(w.testAttribute(Qt::WA_KeyboardFocusChange)) << "the focus ring shows from the start";
  auto *exit = h.Control<QPushButton>("btnExit");
  exit->setFocus();
  QTest::keyClick(exit, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return h.ended == 1; }, 2000)) << "Return presses the focused Exit";
}

} // namespace
} // namespace tallyflow
