// Draw of the monitor's graph on the Qt surface (offscreen).
#include "QtDrawingSurface.h"
#include "clsLineGraph.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>

namespace {

void BM_DrawOnQtSurface(benchmark::State &state) {
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
  }
}
BENCHMARK(BM_DrawOnQtSurface)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
