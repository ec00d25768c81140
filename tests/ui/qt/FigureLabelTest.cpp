#include "ui/qt/FigureLabel.h"

#include "ui/qt/Twips.h"

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

// What the screen shows after each new figure must be what a whole repaint
// of the window shows: the old figure gone, the box's frame whole.
TEST(FigureLabel, ANewFigureShowsWhatAWholeRepaintShows) {
  InstallFontSubstitutes();
  QWidget window;
  PaintBackground(&window, QColor(236, 233, 216));
  window.resize(300, 60);
  auto *left = new FigureLabel("Label1", &window);
  auto *boxed = new FigureLabel("Label1", &window);
  left->setFont(DesignFont("Tahoma", 8.25));
  left->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  left->setGeometry(5, 5, 250, 15);
  boxed->setFont(DesignFont("Arial", 8.25));
  boxed->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  boxed->setFrameStyle(QFrame::Box | QFrame::Plain);
  PaintBackground(boxed, Qt::white);
  boxed->setGeometry(5, 30, 120, 20);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const struct {
    const char *left, *boxed;
  } steps[] = {
      {"Average download speed: 937.41 Kb/S", "4,194,303.99 KB"},
      {"Average download speed: 937.47 Kb/S", "4,194,304.07 KB"},
      {"Average download speed: 1,002.00 Kb/S", "12.34 KBS "},
      {"Καλημέρα 1,5 €", "שלום 12"},
      {"Top download speed: 0.00 Kb/S", "0.00 BS "},
  };
  for (const auto &step : steps) {
    QApplication::processEvents();
    left->setText(QString::fromUtf8(step.left));
    left->adjustSize();
    boxed->setText(QString::fromUtf8(step.boxed));
    QApplication::processEvents();
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    const QImage whole = window.grab().toImage();
    EXPECT_EQ(shown.convertToFormat(whole.format()), whole) << step.left;
  }
}

} // namespace
} // namespace tallyflow
