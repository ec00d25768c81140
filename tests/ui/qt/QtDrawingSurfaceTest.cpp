#include "ui/qt/QtDrawingSurface.h"
#include "graph/clsLineGraph.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace tallyflow {
namespace {

QRgb Rgb(Colour c) { return QtDrawingSurface::ToQColor(c).rgb(); }

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

TEST(QtDrawingSurface, PresentCopiesAndRepaintsOnlyTheRowsThatChanged) {
  QtDrawingSurface surface(nullptr, 0);
  surface.resize(40, 30);
  surface.Scale(ScaleMode::Pixels);
  surface.Cls();
  EXPECT_EQ(surface.Present(), 30) << "the first picture is shown whole";
  EXPECT_EQ(surface.Shown(), surface.Image());

  struct Step {
    std::function<void()> draw;
    int rows;
    const char *what;
  };
  const Step steps[] = {
      {[&] {}, 0, "nothing drawn"},
      {[&] { surface.Line(3, 7, 30, 7, 0x00FF00); }, 1, "one row"},
      {[&] {
         surface.Cls();
         surface.Line(3, 7, 30, 7, 0x00FF00);
       },
       0, "the same picture drawn again"},
      {[&] { surface.Line(2, 3, 9, 9, 0x0000FF); }, 7, "a slanted line over rows 3 to 9"},
      {[&] {
         surface.Line(0, 1, 1, 1, 0xFF0000);
         surface.Line(38, 28, 39, 28, 0xFF0000);
       },
       28, "two far-apart rows: everything between them is repainted as one band"},
      {[&] { surface.Cls(); }, 28, "cleared: rows 1 to 28 held drawing"},
  };
  for (const Step &step : steps) {
    SCOPED_TRACE(step.what);
    step.draw();
    EXPECT_EQ(surface.Present(), step.rows);
    EXPECT_EQ(surface.Shown(), surface.Image());
  }
}

// Drawing is written down and put into the image later, and an unchanged
// picture is skipped: at every point where the image is looked at, it must be
// what drawing each operation at once would have made.
TEST(QtDrawingSurface, DeferredDrawingGivesTheSamePixelsAsDrawingAtOnce) {
  using Step = std::function<void(QtDrawingSurface &)>;
  auto frame = [](Colour ink) {
    return [ink](QtDrawingSurface &s) {
      s.Cls();
      s.Rectangle(1, 1, 30, 20, 0x808000);
      s.Line(2, 18, 29, 3, ink);
    };
  };
  const struct {
    Step step;
    bool look; // the lazy surface is looked at after this step
  } script[] = {
      {frame(0x00FF00), true},
      {frame(0x00FF00), true},                                          // the same picture: skipped
      {frame(0x0000FF), true},                                          // another ink
      {[](QtDrawingSurface &s) { s.Line(0, 0, 39, 29, 0xFF); }, false}, // drawn on, no Cls
      {frame(0x0000FF), true},                                          // the picture before it again
      {[](QtDrawingSurface &s) { s.BackColor(0x202020); }, false},
      {frame(0x0000FF), true}, // same lines, new background
      {[](QtDrawingSurface &s) { s.Line(5, 5, 6, 25, 0xFFFF); }, false},
      {[](QtDrawingSurface &s) { s.resize(30, 24); }, false}, // drawn before the resize
      {[](QtDrawingSurface &s) { s.Line(0, 23, 29, 23, 0xFF00FF); }, true},
      {frame(0x0000FF), true},
      {[](QtDrawingSurface &s) { s.resize(40, 30); }, true}, // grown: padded
      {frame(0x0000FF), true},                               // so drawn again
      {[](QtDrawingSurface &s) {
         s.Cls();
         s.Line(3, 3, 9, 9, 0xFFFFFF);
         s.Cls();
       },
       true}, // what a Cls erases is never drawn
      {[](QtDrawingSurface &s) { s.resize(30, 24); }, true},
      {[](QtDrawingSurface &s) { s.Line(0, 0, 39, 29, 0xFF); }, false},
      {[](QtDrawingSurface &s) { s.resize(40, 30); }, true}, // drawn small, then padded
  };
  QtDrawingSurface eager(nullptr, 0), lazy(nullptr, 0);
  for (QtDrawingSurface *s : {&eager, &lazy}) {
    s->resize(40, 30);
    s->Scale(ScaleMode::Pixels);
  }
  int step = 0;
  for (const auto &s : script) {
    SCOPED_TRACE("step " + std::to_string(step++));
    s.step(eager);
    // Every step put into the image at once; a line wholly outside makes
    // each picture differ from the last, so eager never skips one.
    eager.Line(-10, -10, -5, -10, 0xFFFFFF);
    eager.Image();
    s.step(lazy);
    if (s.look) {
      ASSERT_EQ(lazy.Image(), eager.Image());
    }
  }
}

TEST(QtDrawingSurface, AnUnchangedPictureIsNeitherDrawnNorCompared) {
  QtDrawingSurface surface(nullptr, 0);
  surface.resize(40, 30);
  surface.Scale(ScaleMode::Pixels);
  auto draw = [&](float y) {
    surface.Cls();
    surface.Rectangle(1, 1, 30, 20, 0x808000);
    surface.Line(2, y, 29, 3, 0x00FF00);
    return surface.Present();
  };
  EXPECT_EQ(draw(18), 30);
  const int drawn = surface.Rasterisations();
  EXPECT_EQ(draw(18), 0);
  EXPECT_EQ(surface.Rasterisations(), drawn) << "the same operations: not drawn again";
  EXPECT_GT(draw(17), 0) << "the line moved";
  EXPECT_EQ(surface.Rasterisations(), drawn + 1);
  surface.BackColor(0x000001);
  EXPECT_EQ(draw(17), 30) << "same lines on another background";
}

// A line from far outside can change while its pixels inside stay the same
// (a graph's line held at the top edge). The picture is then not drawn
// again, and must still be exactly the one drawn afresh.
TEST(QtDrawingSurface, LinesThatPutTheSamePixelsAreNotDrawnAgain) {
  const QRgb green = 0x00FF00, red = 0x0000FF;
  const struct {
    const char *what;
    float before[4], after[4];
    Colour colour;
    bool drawnAgain;
  } cases[] = {
      {"a steep line from further above", {5, -1000, 2, 3}, {5, -5000, 2, 3}, green, false},
      {"from above onto other columns", {5, -10, 2, 3}, {14, -10, 2, 3}, green, true},
      {"the same pixels in another colour", {5, -1000, 2, 3}, {5, -5000, 2, 3}, red, true},
      {"a row reaching further to the left", {-100, 5, 20, 5}, {-300, 5, 20, 5}, green, false},
      {"a line wholly outside, moved", {-50, -50, -10, -5}, {-60, -80, -20, -9}, green, false},
      {"a shallow line whose visible end moved", {-900, 10, 30, 2}, {-900, 10, 30, 3}, green, true},
  };
  auto draw = [](QtDrawingSurface &s, const float(&l)[4], Colour colour) {
    s.Cls();
    s.Rectangle(0, 0, 39, 29, 0x808000);
    s.Line(l[0], l[1], l[2], l[3], colour);
    s.Present();
  };
  for (const auto &c : cases) {
    QtDrawingSurface surface(nullptr, 0);
    QtDrawingSurface fresh(nullptr, 0);
    for (QtDrawingSurface *s : {&surface, &fresh}) {
      s->resize(40, 30);
      s->Scale(ScaleMode::Pixels);
    }
    draw(surface, c.before, green);
    const int drawn = surface.Rasterisations();
    draw(surface, c.after, c.colour);
    draw(fresh, c.after, c.colour);
    EXPECT_EQ(surface.Rasterisations() > drawn, c.drawnAgain) << c.what;
    EXPECT_EQ(surface.Image(), fresh.Image()) << c.what;
    EXPECT_EQ(surface.Shown(), fresh.Shown()) << c.what;
  }
}

TEST(QtDrawingSurface, DrawingIsShownOnceTheEventLoopRuns) {
  QtDrawingSurface surface(nullptr, 0);
  surface.resize(40, 30);
  surface.Scale(ScaleMode::Pixels);
  surface.Cls();
  surface.Line(0, 0, 39, 29, 0xFFFFFF);
  EXPECT_NE(surface.Shown(), surface.Image()) << "not shown before control returns to the loop";
  QCoreApplication::processEvents();
  EXPECT_EQ(surface.Shown(), surface.Image());
  EXPECT_EQ(surface.Present(), 0) << "already presented by the loop";
}

} // namespace
} // namespace tallyflow
