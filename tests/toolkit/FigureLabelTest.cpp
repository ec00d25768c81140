#include "FigureLabel.h"

#include "Twips.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

// A FigureLabel must be indistinguishable from the QLabel it stands in for:
// the same size hints and the same pixels, for the shapes of label the
// window uses, through a run of changing texts (each laid out once).
TEST(FigureLabel, SizesAndPaintsExactlyAsAQLabel) {
  InstallFontSubstitutes();
  const struct {
    const char *family;
    bool boxed;
    Qt::Alignment alignment;
  } shapes[] = {
      {"Tahoma", false, Qt::AlignLeft | Qt::AlignTop},
      {"Arial", true, Qt::AlignRight | Qt::AlignVCenter},
  };
  // Figures as the window shows them, and texts that must not be put
  // together from single glyphs: kerning ("AV", "Ty"), overhanging last
  // glyphs ("W", "f"), a ligature, fallback fonts, right to left, a mark.
  const char *const texts[] = {
      "Top download speed: 0.00 Kb/S",
      "Average download speed: 937.41 Kb/S",
      "Average upload speed: 1,204.07 Kb/S",
      "0.00 BS ",
      "1,023 BS ",
      "12.34 KBS ",
      "4,194,303.99 KB",
      "",
      "  7 ",
      "W",
      "AVAVAV Type f",
      "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
      "office ffi",
      "Καλημέρα 1,5 €",
      "下载 12.34 KBS ",
      "שלום 12",
      "e\u0301 1",
  };
  QWidget window;
  window.resize(800, 80);
  // Each as it shows in the window, over what is behind it.
  auto shown = [&](const QLabel *l) { return window.grab(l->geometry()).toImage(); };
  for (const auto &shape : shapes) {
    auto *figure = new FigureLabel("Label1", &window);
    auto *reference = new QLabel("Label1", &window);
    for (QLabel *l : {static_cast<QLabel *>(figure), reference}) {
      l->setFont(DesignFont(shape.family, 8.25));
      l->setTextFormat(Qt::PlainText);
      l->setAlignment(shape.alignment);
      if (shape.boxed) {
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setAutoFillBackground(true);
      }
    }
    figure->setGeometry(5, 5, 110, 20);
    reference->setGeometry(5, 40, 110, 20);
    for (const char *text : texts) {
      const QString t = QString::fromUtf8(text);
      figure->setText(t);
      reference->setText(t);
      EXPECT_EQ(figure->sizeHint(), reference->sizeHint()) << text;
      EXPECT_EQ(figure->minimumSizeHint(), reference->minimumSizeHint()) << text;
      figure->adjustSize();
      reference->adjustSize();
      EXPECT_EQ(shown(figure), shown(reference)) << shape.family << ": " << text;
    }
    // A new font lays the text out again.
    for (QLabel *l : {static_cast<QLabel *>(figure), reference}) {
      l->setFont(DesignFont(shape.family, 12));
      l->adjustSize();
    }
    EXPECT_EQ(shown(figure), shown(reference)) << shape.family << " at 12 points";
    delete figure;
    delete reference;
  }
}

// A figure that paints its parent's face itself must look as it does when
// transparent, and stay transparent wherever more than that face lies below.
TEST(FigureLabel, PaintsItsParentsFaceOnlyWhereNothingElseLiesBelow) {
  QFrame frame;
  frame.setFrameStyle(QFrame::Box | QFrame::Sunken);
  PaintBackground(&frame, QColor(236, 233, 216));
  frame.resize(200, 60);
  auto *other = new QLabel("under", &frame);
  other->setGeometry(120, 30, 50, 15);
  auto *figure = new FigureLabel("Top download speed: 12.50 Kb/S", &frame);
  frame.show(); // moves and resizes reach a shown figure at once
  const struct {
    QRect where;
    bool opaque;
  } cases[] = {
      {{10, 5, 100, 15}, true},    // inside, over the face alone
      {{0, 5, 100, 15}, false},    // over the frame's border
      {{110, 38, 100, 15}, false}, // over another label, and past the edge
      {{100, 20, 30, 15}, false},  // over a corner of another label
  };
  for (const auto &c : cases) {
    figure->setGeometry(c.where);
    figure->PaintParentFace(false);
    const QImage transparent = frame.grab().toImage();
    figure->PaintParentFace(true);
    EXPECT_EQ(figure->testAttribute(Qt::WA_OpaquePaintEvent), c.opaque) << c.where.x() << "," << c.where.y();
    EXPECT_EQ(frame.grab().toImage(), transparent) << c.where.x() << "," << c.where.y();
  }
  figure->setGeometry(cases[0].where); // moved back inside: opaque again
  EXPECT_TRUE(figure->testAttribute(Qt::WA_OpaquePaintEvent));
}

// What the screen shows after each new figure, repainted in part, must be
// what a whole repaint shows; a change of the last digits repaints little.
TEST(FigureLabel, ANewFigureRepaintsWhatChangedAndShowsWhatAWholeRepaintShows) {
  InstallFontSubstitutes();
  QWidget window;
  PaintBackground(&window, QColor(236, 233, 216));
  window.resize(300, 60);
  auto *left = new FigureLabel("Label1", &window);
  auto *boxed = new FigureLabel("Label1", &window);
  left->setFont(DesignFont("Tahoma", 8.25));
  left->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  left->setGeometry(5, 5, 250, 15);
  left->PaintParentFace(true);
  boxed->setFont(DesignFont("Arial", 8.25));
  boxed->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  boxed->setFrameStyle(QFrame::Box | QFrame::Plain);
  PaintBackground(boxed, Qt::white);
  boxed->setGeometry(5, 30, 120, 20);
  struct Painted : QObject {
    QRegion region;
    bool eventFilter(QObject *, QEvent *e) override {
      if (e->type() == QEvent::Paint) {
        region += static_cast<QPaintEvent *>(e)->region();
      }
      return false;
    }
  } painted;
  left->installEventFilter(&painted);
  boxed->installEventFilter(&painted);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const struct {
    const char *left, *boxed;
    int mostPixels; // repainted in the two figures
  } steps[] = {
      {"Average download speed: 937.41 Kb/S", "4,194,303.99 KB", 250 * 15 + 118 * 18},
      {"Average download speed: 937.47 Kb/S", "4,194,304.07 KB", 2 * 15 * 15 + 45 * 18},
      {"Average download speed: 1,002.00 Kb/S", "12.34 KBS ", 250 * 15 + 118 * 18},
      {"Average download speed: 1,002.00 Kb/S", "12.34 KBS ", 0},
      {"Καλημέρα 1,5 €", "שלום 12", 250 * 15 + 118 * 18},
      {"Top download speed: 0.00 Kb/S", "0.00 BS ", 250 * 15 + 118 * 18},
  };
  for (const auto &step : steps) {
    QApplication::processEvents();
    painted.region = QRegion();
    left->SetFigure(QString::fromUtf8(step.left));
    left->adjustSize();
    boxed->SetFigure(QString::fromUtf8(step.boxed));
    QApplication::processEvents();
    int pixels = 0;
    for (const QRect &r : painted.region) {
      pixels += r.width() * r.height();
    }
    EXPECT_LE(pixels, step.mostPixels) << step.left;
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    const QImage whole = window.grab().toImage();
    EXPECT_EQ(shown.convertToFormat(whole.format()), whole) << step.left;
  }
}

} // namespace
} // namespace tallyflow
