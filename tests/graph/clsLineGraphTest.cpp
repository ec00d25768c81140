#include "graph/clsLineGraph.h"

#include "fakes/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tallyflow {
namespace {

using test::RecordingSurface;

constexpr Colour kGreen = 0x00FF00;
constexpr Colour kRed = 255;
constexpr Colour kTeal = 0x808000;

// The monitor window's settings.
struct Graph {
  explicit Graph(float w = 379, float h = 117, std::int16_t style = 0) : surface(w, h, style) {
    graph.PictureBox(&surface);
    graph.DataCollection(&series);
    graph.PicBackground(0);
    graph.PicForeground(kGreen);
    graph.BorderColor(kRed);
    graph.BorderSize(0);
    graph.GridColor(kTeal);
    graph.GridVisible(true);
  }
  std::vector<RecordingSurface::Shape> Lines() const { return surface.Of(false, kGreen); }
  std::vector<RecordingSurface::Shape> Grid() const { return surface.Of(true, kTeal); }
  std::vector<RecordingSurface::Shape> Frame() const { return surface.Of(true, kRed); }

  RecordingSurface surface;
  SampleSeries series;
  clsLineGraph graph;
};

TEST(clsLineGraph, WorkedExampleOn379By117) {
  Graph g;
  for (int i = 1; i <= 100; ++i) {
    g.series.push_back(i == 1 ? 5 : i == 50 ? 50 : i == 100 ? 105 : 5);
  }
  g.graph.Draw();

  EXPECT_EQ(g.surface.log, (std::vector<std::string>{"AutoRedraw", "Cls", "Scale", "BackColor"}));
  EXPECT_TRUE(g.surface.autoRedraw);
  EXPECT_EQ(g.surface.scale, ScaleMode::Pixels);
  EXPECT_EQ(g.surface.back, 0u);
  EXPECT_TRUE(g.Frame().empty());

  const auto grid = g.Grid();
  ASSERT_EQ(grid.size(), 30u);
  for (int i = 1; i <= 20; ++i) {
    const auto &r = grid[static_cast<std::size_t>(i - 1)];
    EXPECT_FLOAT_EQ(r.x1, 0);
    EXPECT_FLOAT_EQ(r.y1, 0);
    EXPECT_NEAR(r.x2, 18.95 * i, 1e-4) << "vertical line " << i;
    EXPECT_FLOAT_EQ(r.y2, 117);
  }
  for (int i = 1; i <= 10; ++i) {
    const auto &r = grid[static_cast<std::size_t>(19 + i)];
    EXPECT_FLOAT_EQ(r.x2, 379);
    EXPECT_NEAR(r.y2, 11.7 * i, 1e-4) << "horizontal line " << i;
  }

  const auto lines = g.Lines();
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_FLOAT_EQ(lines[0].x1, 2);
  EXPECT_NEAR(lines[0].y1, 111.15, 1e-4);
  EXPECT_NEAR(lines[0].x2, 2, 1e-4);
  EXPECT_NEAR(lines[1].x2, 5.79, 1e-4);
  EXPECT_NEAR(lines[49].x2, 187.71, 1e-4);
  EXPECT_NEAR(lines[49].y2, 58.5, 1e-4);
  EXPECT_NEAR(lines[99].x2, 377.21, 1e-4);
  EXPECT_FLOAT_EQ(lines[99].y2, 0) << "105 clamps from -5.85 to the top";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x1, lines[i - 1].x2) << "segments join";
    EXPECT_EQ(lines[i].y1, lines[i - 1].y2);
  }
}

TEST(clsLineGraph, SeriesIsTrimmedToTheNewest100AndShortSeriesFillFromTheLeft) {
  struct Case {
    std::size_t size;
    std::size_t segments;
  };
  for (const Case c :
       {Case{150, 100}, Case{101, 100}, Case{100, 100}, Case{30, 30}, Case{1, 1}, Case{0, 0}}) {
    Graph g;
    for (std::size_t i = 0; i < c.size; ++i) {
      g.series.push_back(static_cast<double>(i));
    }
    g.graph.Draw();
    SCOPED_TRACE(c.size);
    ASSERT_EQ(g.series.size(), std::min<std::size_t>(c.size, 100));
    if (c.size > 0) {
      EXPECT_EQ(g.series.back(), static_cast<double>(c.size - 1)) << "the newest stays";
      EXPECT_EQ(g.series.front(), static_cast<double>(c.size > 100 ? c.size - 100 : 0)) << "the oldest go";
    }
    const auto lines = g.Lines();
    ASSERT_EQ(lines.size(), c.segments);
    EXPECT_EQ(g.Grid().size(), 30u);
    if (c.segments > 0) {
      EXPECT_NEAR(lines.back().x2, (c.segments - 1) * 3.79 + 2, 1e-4);
    }
  }
}

TEST(clsLineGraph, ClampsAtTheTopAndLeftOnly) {
  Graph g;
  g.series = {150, 100, 0, -10};
  g.graph.Draw();
  const auto lines = g.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NEAR(lines[0].y1, 117 - 175.5, 1e-4) << "the start point is not clamped";
  EXPECT_FLOAT_EQ(lines[0].y2, 0);
  EXPECT_FLOAT_EQ(lines[1].y2, 0);
  EXPECT_FLOAT_EQ(lines[2].y2, 117) << "0 lies one past the last row";
  EXPECT_NEAR(lines[3].y2, 117 + 11.7, 1e-4) << "negative samples fall below unclamped";
}

TEST(clsLineGraph, FrameHasBorderSizePlusOneRectanglesInsetByBorderStyle) {
  struct Case {
    std::int16_t borderSize;
    std::int16_t borderStyle;
    std::size_t rectangles;
    float outerRight;
  };
  const Case cases[] = {{1, 0, 2, 379}, {1, 1, 2, 378}, {3, 0, 4, 379}, {0, 0, 0, 0}, {-2, 0, 0, 0}};
  for (const auto &c : cases) {
    Graph g(379, 117, c.borderStyle);
    g.graph.BorderSize(c.borderSize);
    EXPECT_EQ(g.graph.BorderSize(), c.borderSize);
    g.series = {5, 5};
    g.graph.Draw();
    const auto frame = g.Frame();
    ASSERT_EQ(frame.size(), c.rectangles) << "BorderSize " << c.borderSize;
    if (!frame.empty()) {
      EXPECT_FLOAT_EQ(frame[0].x1, 0);
      EXPECT_FLOAT_EQ(frame[0].x2, c.outerRight);
      EXPECT_FLOAT_EQ(frame[0].y2, c.outerRight - 262);
      EXPECT_FLOAT_EQ(frame[1].x1, 1);
      EXPECT_FLOAT_EQ(frame[1].x2, c.outerRight - 1);
      // Grid and data keep a margin of B.
      const float B = c.borderSize;
      EXPECT_FLOAT_EQ(g.Grid()[0].x1, B);
      EXPECT_NEAR(g.Grid()[19].x2, 379 - 2 * B, 1e-4);
      EXPECT_FLOAT_EQ(g.Lines()[0].x1, B + 2);
    }
  }
}

TEST(clsLineGraph, GridOnlyWhenVisible) {
  Graph g;
  g.graph.GridVisible(false);
  g.series = {5, 6, 7};
  g.graph.Draw();
  EXPECT_TRUE(g.Grid().empty());
  EXPECT_EQ(g.Lines().size(), 3u);
}

TEST(clsLineGraph, FailuresEndTheDrawingQuietlyAndKeepWhatWasDrawn) {
  struct Case {
    const char *what;
    void (*arrange)(Graph &);
    std::size_t grid;
    std::size_t lines;
  };
  const Case cases[] = {
      {"no series", [](Graph &g) { g.graph.DataCollection(nullptr); }, 30, 0},
      {"NaN at 40", [](Graph &g) { g.series[39] = std::numeric_limits<double>::quiet_NaN(); }, 30, 39},
      {"infinity first", [](Graph &g) { g.series[0] = std::numeric_limits<double>::infinity(); }, 30, 0},
      {"doubling BorderSize overflows", [](Graph &g) { g.graph.BorderSize(16384); }, 0, 0},
      {"grid rectangle fails", [](Graph &g) { g.surface.failRectangleFrom = 5; }, 5, 0},
      {"line fails", [](Graph &g) { g.surface.failLineFrom = 10; }, 30, 10},
      {"clear fails", [](Graph &g) { g.surface.failCls = true; }, 0, 0},
  };
  for (const auto &c : cases) {
    Graph g;
    g.series.assign(100, 20.0);
    c.arrange(g);
    g.graph.Draw();
    EXPECT_EQ(g.Grid().size(), c.grid) << c.what;
    EXPECT_EQ(g.Lines().size(), c.lines) << c.what;
  }
  Graph overflow;
  overflow.graph.BorderSize(16384);
  overflow.graph.Draw();
  EXPECT_EQ(overflow.surface.clears, 1) << "the overflow ends the drawing after the clear";
  EXPECT_EQ(overflow.surface.back, 0u);
}

TEST(clsLineGraph, NoSurfaceDrawsNothingAndLeavesTheSeries) {
  SampleSeries series(150, 1.0);
  clsLineGraph graph;
  graph.DataCollection(&series);
  graph.Draw();
  EXPECT_EQ(series.size(), 150u);
}

} // namespace
} // namespace tallyflow
