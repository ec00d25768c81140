// Draw of the monitor's graph on the Qt surface (offscreen).
#include "QtDrawingSurface.h"
#include "clsLineGraph.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>

namespace {

// The monitor's graph as it runs: 100 samples, grid on, every tick scrolls
// one step. With present, the cost includes bringing the shown picture up to
// date (row compare and copy), which is what a tick really pays before paint.
void DrawLoop(benchmark::State &state, bool present) {
  tallyflow::QtDrawingSurface surface(nullptr, 0);
  surface.resize(379, 117);
  tallyflow::SampleSeries series;
  for (int i = 0; i < 100; ++i) {
    series.push_back(5 + 40 * (1 + std::sin(i / 7.0)));
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
    if (present) {
      benchmark::DoNotOptimize(surface.Present());
    }
  }
}

void BM_DrawOnQtSurface(benchmark::State &state) { DrawLoop(state, false); }
BENCHMARK(BM_DrawOnQtSurface)->Unit(benchmark::kMicrosecond);

void BM_DrawAndPresent(benchmark::State &state) { DrawLoop(state, true); }
BENCHMARK(BM_DrawAndPresent)->Unit(benchmark::kMicrosecond);

// An idle line: the same picture every tick, so present finds nothing to copy.
void BM_DrawSamePictureAndPresent(benchmark::State &state) {
  tallyflow::QtDrawingSurface surface(nullptr, 0);
  surface.resize(379, 117);
  tallyflow::SampleSeries series(100, 5.0);
  tallyflow::clsLineGraph graph;
  graph.PictureBox(&surface);
  graph.DataCollection(&series);
  graph.PicForeground(0x00FF00);
  graph.GridColor(0x808000);
  graph.GridVisible(true);
  for (auto _ : state) {
    series.push_back(5.0);
    graph.Draw();
    benchmark::DoNotOptimize(surface.Present());
  }
}
BENCHMARK(BM_DrawSamePictureAndPresent)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
