#pragma once

#include "services/ITimer.h"

#include <QObject>
#include <QTimer>

namespace tallyflow {

// ITimer on a QTimer. An interval of 0 never fires (a 0 ms QTimer would fire
// on every pass of the event loop, so it is kept stopped instead).
class QtTimer final : public QObject, public ITimer {
public:
  explicit QtTimer(QObject *parent = nullptr);

  bool Interval(std::int64_t milliseconds) override;
  std::int64_t Interval() const override { return m_interval; }
  void Enabled(bool enabled) override;
  bool Enabled() const override { return m_enabled; }
  void OnTick(std::function<void()> handler) override { m_handler = std::move(handler); }

private:
  void Apply();

  QTimer m_timer;
  std::int64_t m_interval = 0; // ms
  bool m_enabled = false;
  std::function<void()> m_handler;
};

} // namespace tallyflow
