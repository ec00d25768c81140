#pragma once

#include "services/IMonotonicClock.h"

#include <chrono>

namespace tallyflow::test {

// Time that moves only when a test says so.
class FakeClock final : public IMonotonicClock {
public:
  std::chrono::nanoseconds Now() const override { return now; }
  void Advance(std::chrono::milliseconds ms) { now += ms; }
  std::chrono::nanoseconds now{std::chrono::seconds(1000)};
};

} // namespace tallyflow::test
