#include "ui/qt/QtDrawingSurface.h"
#include "graph/clsLineGraph.h"
#include "ui/qt/DesignPalette.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace tallyflow {
namespace {

QRgb Rgb(Colour c) { return ToQColor(c).rgb(); }

TEST(QtDrawingSurface, GraphWithTheMonitorSettingsByItsPixels) {
  QtDrawingSurface surface(nullptr, 0);
  surface.resize(379, 117);
  EXPECT_FLOAT_EQ(surface.ScaleWidth(), 379 * 15.0f) << "twips until the graph asks for pixels";

  SampleSeries series(100, 5.0); // an idle line
  clsLineGraph graph;
  graph.PictureBox(&surface);
  graph.DataCollection(&series);
  graph.PicBackground(0);
  graph.PicForeground(0x00FF00);
  graph.BorderColor(255);
  graph.BorderSize(0);
  graph.GridColor(0x808000);
  graph.GridVisible(true);
  graph.Draw();

  const QImage &img = surface.Image();
  ASSERT_EQ(img.size(), QSize(379, 117)) << "border style 0: the whole widget is drawable";
  EXPECT_FLOAT_EQ(surface.ScaleWidth(), 379);
  EXPECT_FLOAT_EQ(surface.ScaleHeight(), 117);
  const QRgb black = Rgb(0), teal = Rgb(0x808000), green = Rgb(0x00FF00);
  EXPECT_EQ(img.pixel(10, 50), black) << "background";
  EXPECT_EQ(img.pixel(19, 50), teal) << "grid column at x = 18.95";
  EXPECT_EQ(img.pixel(360, 50), teal) << "grid column at x = 360.05";
  EXPECT_EQ(img.pixel(10, 12), teal) << "grid row at y = 11.7";
  EXPECT_EQ(img.pixel(0, 50), teal) << "left edge x = 0";
  // Samples of 5 lie at y = 117 - 5.85 = 111.15: row 111, from x = 2 on.
  for (int x : {2, 50, 187, 300, 377}) {
    EXPECT_EQ(img.pixel(x, 111), green) << "x " << x;
    EXPECT_NE(img.pixel(x, 110), green) << "x " << x;
  }
  EXPECT_NE(img.pixel(378, 111), green) << "the newest sample is one step short of the right edge";

  const QTemporaryDir own; // the test's, gone with it
  EXPECT_TRUE(img.save(own.filePath("graph.png")));
}

TEST(QtDrawingSurface, BorderStyleOneLeavesTheBorderOutsideTheDrawableArea) {
  QtDrawingSurface surface(nullptr, 1);
  surface.resize(381, 119);
  surface.Scale(ScaleMode::Pixels);
  EXPECT_EQ(surface.BorderStyle(), 1);
  EXPECT_FLOAT_EQ(surface.ScaleWidth(), 379);
  EXPECT_FLOAT_EQ(surface.ScaleHeight(), 117);
}

TEST(QtDrawingSurface, BackColorBlanksAndRectanglesOutlineOnly) {
  QtDrawingSurface surface(nullptr, 0);
  surface.resize(40, 30);
  surface.Scale(ScaleMode::Pixels);
  surface.Line(0, 0, 39, 29, 0xFFFFFF);
  surface.BackColor(0x0000FF);
  EXPECT_EQ(surface.Image().pixel(20, 15), Rgb(0x0000FF)) << "a new background gives a blank surface";
  surface.Rectangle(5, 5, 15.4f, 10.6f, 0x00FF00);
  EXPECT_EQ(surface.Image().pixel(5, 5), Rgb(0x00FF00));
  EXPECT_EQ(surface.Image().pixel(15, 11), Rgb(0x00FF00)) << "15.4 -> 15, 10.6 -> 11";
  EXPECT_EQ(surface.Image().pixel(10, 8), Rgb(0x0000FF)) << "not filled";
  surface.Cls();
  EXPECT_EQ(surface.Image().pixel(5, 5), Rgb(0x0000FF));
}

// Every slanted line, wherever its ends lie, must come out as one pixel per
// step along its longer axis, each within half a pixel of the exact line, and
// nothing beside it.
TEST(QtDrawingSurface, SlantedLinesAreOnePixelPerStepNearTheExactLine) {
  struct Case {
    int x1, y1, x2, y2;
    const char *what;
  };
  const Case cases[] = {
      {2, 3, 30, 12, "shallow, left to right"},
      {30, 12, 2, 3, "the same line drawn backwards"},
      {5, 2, 11, 27, "steep"},
      {11, 27, 5, 2, "steep, backwards"},
      {0, 29, 39, 0, "corner to corner, rising"},
      {3, 3, 13, 13, "diagonal"},
      {4, 10, 9, 11, "one step up in five"},
      {-1000, -500, 1000, 520, "both ends far outside, crossing the image"},
      {-900000, 15, 900000, 16, "nearly flat, ends a million pixels out"},
      {20, -900000, 21, 900000, "nearly upright, ends a million pixels out"},
      {-50, 60, -10, 80, "wholly outside"},
      {35, 25, 60, 40, "leaving through the corner"},
  };
  constexpr int kW = 40, kH = 30;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    QtDrawingSurface surface(nullptr, 0);
    surface.resize(kW, kH);
    surface.Scale(ScaleMode::Pixels);
    surface.Line(c.x1, c.y1, c.x2, c.y2, 0x00FF00);
    const QImage &img = surface.Image();
    const QRgb ink = Rgb(0x00FF00);

    const bool xMajor = std::abs(c.x2 - c.x1) >= std::abs(c.y2 - c.y1);
    const int majorFrom = std::min(xMajor ? c.x1 : c.y1, xMajor ? c.x2 : c.y2);
    const int majorTo = std::max(xMajor ? c.x1 : c.y1, xMajor ? c.x2 : c.y2);
    const int majorSize = xMajor ? kW : kH;
    const int minorSize = xMajor ? kH : kW;
    for (int M = 0; M < majorSize; ++M) {
      int count = 0, at = -1;
      for (int m = 0; m < minorSize; ++m) {
        if (img.pixel(xMajor ? M : m, xMajor ? m : M) == ink) {
          ++count;
          at = m;
        }
      }
      if (M < majorFrom || M > majorTo) {
        EXPECT_EQ(count, 0) << "beyond the ends, at " << M;
        continue;
      }
      const double t = (M - (xMajor ? c.x1 : c.y1)) / double(xMajor ? c.x2 - c.x1 : c.y2 - c.y1);
      const double exact = (xMajor ? c.y1 : c.x1) + t * (xMajor ? c.y2 - c.y1 : c.x2 - c.x1);
      if (exact > -0.5 && exact < minorSize - 0.5) {
        ASSERT_EQ(count, 1) << "one pixel at " << M << ", exact " << exact;
        EXPECT_LE(std::fabs(at - exact), 0.5) << "at " << M;
      } else {
        EXPECT_LE(count, 1) << "at " << M;
        if (count == 1) {
          EXPECT_LE(std::fabs(at - exact), 0.5) << "at " << M;
        }
      }
    }
    for (auto [x, y] : {std::pair{c.x1, c.y1}, std::pair{c.x2, c.y2}}) {
      if (x >= 0 && x < kW && y >= 0 && y < kH) {
        EXPECT_EQ(img.pixel(x, y), ink) << "end point " << x << "," << y;
      }
    }
  }
}

TEST(QtDrawingSurface, TheWindowShowsWhatWasDrawn) {
  QtDrawingSurface surface(nullptr, 1);
  surface.resize(42, 32);
  surface.Scale(ScaleMode::Pixels);
  surface.show();
  surface.BackColor(0x000000);
  surface.Line(0, 10, 39, 10, 0x00FF00);
  QCoreApplication::processEvents();
  const QImage shown = surface.grab().toImage();
  EXPECT_EQ(shown.pixel(1 + 20, 1 + 10), Rgb(0x00FF00)) << "inside the one-pixel border";
  EXPECT_EQ(shown.pixel(1 + 20, 1 + 11), Rgb(0x000000));
  EXPECT_EQ(shown.copy(1, 1, 40, 30), surface.Image().convertToFormat(shown.format()));
}

} // namespace
} // namespace tallyflow
