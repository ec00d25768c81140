#include "QtDrawingSurface.h"
#include "clsLineGraph.h"

#include <gtest/gtest.h>

#include <QDir>

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

  const QString shot = QDir::temp().filePath("tallyflow-graph.png");
  EXPECT_TRUE(img.save(shot));
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

} // namespace
} // namespace tallyflow
