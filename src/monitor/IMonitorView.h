#pragma once

#include "ITimer.h"
#include "MonitorLabel.h"

#include <cstdint>
#include <string>

namespace tallyflow {

// What the sampling tick needs of the monitor window. The window implements
// it; tests use a fake, so the whole tick runs without a window.
class IMonitorView {
public:
  virtual ~IMonitorView() = default;

  virtual ITimer &tmrUpdate() = 0;
  virtual ITimer &Timer1() = 0;

  // The text the user chose or typed in cboUpdateInterval.
  virtual std::string UpdateIntervalText() const = 0;

  // cboConnectionType: a plain list of texts. The selected index is -1 for
  // none; selecting outside -1..count-1 fails (false).
  virtual std::int16_t ConnectionIndex() const = 0;
  virtual bool ConnectionIndex(std::int16_t index) = 0;
  virtual int ConnectionCount() const = 0;
  virtual void ConnectionClear() = 0;
  virtual void ConnectionAdd(const std::string &text) = 0;

  // Label captions: reading returns the text last set. A write may fail.
  virtual bool Caption(MonitorLabel label, const std::string &text) = 0;
  virtual const std::string &Caption(MonitorLabel label) const = 0;

  // The text of the title bar and task bar.
  virtual void Title(const std::string &text) = 0;

  // Runs the pending window events (clicks, other timers).
  virtual void DoEvents() = 0;

  // The per-application settings store; the default when the key is absent.
  virtual std::string GetSetting(const std::string &appName, const std::string &section,
                                 const std::string &key, const std::string &defaultValue) const = 0;
};

} // namespace tallyflow
