// main() of the benchmarks that draw with Qt: an application on the
// offscreen platform, so that they run without a display.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
