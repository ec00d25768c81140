// The least a window of Qt widgets costs at 100 ms, to hold the monitor's
// own cost against: a fixed-size window of eight plain-text labels that, on
// every tick, does nothing (floor_timer), repaints one pixel (floor_pixel),
// shows a new figure in one label (floor_label), or in all eight and in the
// title (floor_labels). Run one through bench/alternate.sh like a build of
// the program; it needs no settings and reads no interfaces.
#include <QApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>

#include <array>

namespace {

enum class Tick { Nothing, Pixel, Label, LabelsAndTitle };
constexpr Tick kTick = static_cast<Tick>(TALLYFLOW_FLOOR_TICK);
constexpr int kInterval = 100; // ms, as the benchmark runs the monitor

QString Figure() {
  const auto hundredths = QRandomGenerator::global()->bounded(100'000'000);
  return QString::number(hundredths / 100.0, 'f', 2) + " KBS ";
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_NO_GLIB", "1"); // the event loop the monitor runs
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(379, 361); // pixels: the monitor's window at 96 dpi
  std::array<QLabel *, 8> labels{};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    labels[i] = new QLabel(Figure(), &window);
    labels[i]->setTextFormat(Qt::PlainText);
    labels[i]->setGeometry(10, 120 + static_cast<int>(i) * 28, 340, 24);
  }
  QTimer timer;
  timer.setInterval(kInterval);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    switch (kTick) {
    case Tick::Nothing:
      break;
    case Tick::Pixel:
      window.update(5, 5, 1, 1);
      break;
    case Tick::Label:
      labels[0]->setText(Figure());
      break;
    case Tick::LabelsAndTitle:
      for (QLabel *label : labels) {
        label->setText(Figure());
      }
      window.setWindowTitle("Top download speed: " + Figure());
      break;
    }
  });
  timer.start();
  window.show();
  return QApplication::exec();
}
