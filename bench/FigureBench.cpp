// The figures of one busy tick on the Qt window (offscreen): six labels get
// a new figure each, then the window repaints. FigureLabel against the plain
// QLabel it stands in for (the baseline).
#include "ui/qt/FigureLabel.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>

#include <array>
#include <memory>
#include <vector>

namespace {

template <typename Label> void BM_SetFiguresAndRepaint(benchmark::State &state) {
  QFrame window;
  window.resize(380, 380);
  window.setAutoFillBackground(true);
  const char *const prefixes[] = {"Top download speed: ",
                                  "Top upload speed: ",
                                  "Average download speed: ",
                                  "Average upload speed: ",
                                  "",
                                  ""};
  std::vector<std::unique_ptr<QLabel>> labels;
  for (int i = 0; i < 6; ++i) {
    auto l = std::make_unique<Label>(QString(), &window);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(5, 5 + 30 * i, i < 4 ? 160 : 110, i < 4 ? 13 : 20);
    if (i >= 4) { // the current speeds sit in white boxes, right-aligned
      l->setFrameStyle(QFrame::Box | QFrame::Plain);
      l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    labels.push_back(std::move(l));
  }
  window.show();
  QCoreApplication::processEvents();
  // A hundred ticks' figures, made before the loop: varying values, as
  // changing traffic gives.
  std::vector<std::array<QString, 6>> ticks(100);
  for (int t = 0; t < 100; ++t) {
    for (int i = 0; i < 6; ++i) {
      const double value = 50 + (t * 37 + i * 101) % 900 + (t % 7) / 8.0;
      ticks[t][i] = QString::fromLatin1(prefixes[i]) + QString::number(value, 'f', 2) +
                    QLatin1String(i < 4 ? " Kb/S" : " KBS ");
    }
  }
  std::size_t t = 0;
  for (auto _ : state) {
    for (int i = 0; i < 6; ++i) {
      labels[i]->setText(ticks[t][i]);
    }
    QCoreApplication::sendPostedEvents(); // the repaint, and what setText posts
    t = (t + 1) % ticks.size();
  }
}
BENCHMARK(BM_SetFiguresAndRepaint<QLabel>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetFiguresAndRepaint<tallyflow::FigureLabel>)->Unit(benchmark::kMicrosecond);

} // namespace
