// Draw of the monitor's graph on the Qt surface (offscreen).
#include "graph/clsLineGraph.h"
#include "ui/qt/QtDrawingSurface.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

enum class Line {
  Scrolling, // a varying line moves one step every tick
  Idle,      // the same picture every tick
  AtTheTop,  // traffic above the scale: held at the top edge, from a first point that moves
};

// The monitor's graph as it runs: 100 samples, grid on, every tick draws.
void DrawLoop(benchmark::State &state, Line line) {
  tallyflow::QtDrawingSurface surface(nullptr, 0);
  surface.resize(379, 117);
  tallyflow::SampleSeries series;
  for (int i = 0; i < 100; ++i) {
    const double wave = 1 + std::sin(i / 7.0);
    series.push_back(line == Line::Scrolling  ? 5 + 40 * wave
                     : line == Line::AtTheTop ? 150 + 400 * wave
                                              : 5.0);
  }
  tallyflow::clsLineGraph graph;
  graph.PictureBox(&surface);
  graph.DataCollection(&series);
  graph.PicForeground(0x00FF00);
  graph.GridColor(0x808000);
  graph.GridVisible(true);
  for (auto _ : state) {
    series.push_back(series.front());
    graph.Draw();
    benchmark::ClobberMemory();
  }
}

void BM_Draw(benchmark::State &state) { DrawLoop(state, Line::Scrolling); }
BENCHMARK(BM_Draw)->Unit(benchmark::kMicrosecond);

void BM_DrawSamePicture(benchmark::State &state) { DrawLoop(state, Line::Idle); }
BENCHMARK(BM_DrawSamePicture)->Unit(benchmark::kMicrosecond);

void BM_DrawLineAtTheTop(benchmark::State &state) { DrawLoop(state, Line::AtTheTop); }
BENCHMARK(BM_DrawLineAtTheTop)->Unit(benchmark::kMicrosecond);

} // namespace
