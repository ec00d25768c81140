#pragma once

namespace tallyflow {

// Runs the pending window events (clicks, other timers) and returns.
class IYield {
public:
  virtual ~IYield() = default;
  virtual void RunPendingEvents() = 0;
};

} // namespace tallyflow
