#include "ui/qt/QtTimer.h"

namespace tallyflow {

QtTimer::QtTimer(QObject *parent) : QObject(parent) {
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    if (m_handler) {
      m_handler();
    }
  });
}

bool QtTimer::Interval(std::int64_t milliseconds) {
  if (milliseconds < 0 || milliseconds > kMaxInterval) {
    return false;
  }
  m_interval = milliseconds;
  Apply();
  return true;
}

void QtTimer::Enabled(bool enabled) {
  m_enabled = enabled;
  Apply();
}

// Enabling, or a new interval while enabled, starts a full interval.
void QtTimer::Apply() {
  if (m_enabled && m_interval > 0) {
    m_timer.start(static_cast<int>(m_interval));
  } else {
    m_timer.stop();
  }
}

} // namespace tallyflow
