#include "FigureLabel.h"

#include "Twips.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

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

} // namespace
} // namespace tallyflow
