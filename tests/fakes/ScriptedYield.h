#pragma once

#include "services/IYield.h"

#include <functional>

namespace tallyflow::test {

// A yield that runs a scripted step once, at the next yield: a click that
// arrives while a tick waits in its yield. `onEach` runs at every yield,
// with the yield's number from 1.
class ScriptedYield final : public IYield {
public:
  void RunPendingEvents() override {
    ++runs;
    if (onEach) {
      onEach(runs);
    }
    if (hook) {
      auto h = std::move(hook); // once
      h();
    }
  }
  std::function<void()> hook;
  std::function<void(int)> onEach;
  int runs = 0;
};

} // namespace tallyflow::test
