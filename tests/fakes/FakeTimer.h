#pragma once

#include "services/ITimer.h"

namespace tallyflow::test {

// A timer that never fires by itself; tests call Fire().
class FakeTimer final : public ITimer {
public:
  bool Interval(std::int64_t ms) override {
    if (ms < 0 || ms > kMaxInterval) {
      return false;
    }
    interval = ms;
    return true;
  }
  std::int64_t Interval() const override { return interval; }
  void Enabled(bool e) override {
    enabled = e;
    ++enableCalls;
  }
  bool Enabled() const override { return enabled; }
  void OnTick(std::function<void()> h) override { handler = std::move(h); }
  void Fire() {
    if (enabled && interval > 0 && handler) {
      handler();
    }
  }

  std::int64_t interval = 0;
  bool enabled = false;
  int enableCalls = 0;
  std::function<void()> handler;
};

} // namespace tallyflow::test
