#pragma once

#include <chrono>

namespace tallyflow {

// A clock that never goes backwards, for measuring how long passed between
// two snapshots.
class IMonotonicClock {
public:
  virtual ~IMonotonicClock() = default;
  virtual std::chrono::nanoseconds Now() const = 0;
};

class SteadyClock final : public IMonotonicClock {
public:
  std::chrono::nanoseconds Now() const override {
    return std::chrono::steady_clock::now().time_since_epoch();
  }
};

} // namespace tallyflow
